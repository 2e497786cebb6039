#include "app/InformationForm.h"

#include "app/FormFailures.h"
#include "html/HtmlPane.h"
#include "platform/Exceptions.h"

#include "ui_InformationForm.h"

TForm_Information::TForm_Information(QWidget* owner)
    : TForm(owner)
    , FUi(std::make_unique<Ui::TForm_Information>())
{
    FUi->setupUi(this);
    htmlInformation = FUi->htmlInformation;
    htmlInformation->SetViewImages(false);
    htmlInformation->SetBorderStyle(THTMLBorderStyle::htFocused);
    htmlInformation->SetHistoryMaxCount(0);
    htmlInformation->SetDefFontName("Times New Roman");
    htmlInformation->SetDefPreFontName("Courier New");
    htmlInformation->SetNoSelect(false);
}

TForm_Information::~TForm_Information()
{
    if (Form_Information == this)
        Form_Information = nullptr;
}

void TForm_Information::FormShow()
{
    if (!PageFile.isEmpty())
        ReportFailures([this]() { htmlInformation->LoadHtmlFile(PageFile); });
}

TForm_Information* InformationWindow()
{
    if (Form_Information == nullptr)
        Form_Information = new TForm_Information();
    auto* window = dynamic_cast<TForm_Information*>(Form_Information);
    if (window == nullptr)
        throw EInvalidCast("Invalid class typecast");
    return window;
}
