#include "app/InformationForm.h"

#include "app/TutorialViewer.h"
#include "html/HtmlPane.h"
#include "platform/Exceptions.h"

#include "ui_InformationForm.h"

TForm_Information::TForm_Information(QWidget* owner)
    : TForm(owner)
    , FUi(std::make_unique<Ui::TForm_Information>())
{
    FUi->setupUi(this);
    htmlInformation = FUi->htmlInformation;
    SetUpTutorialViewer(*htmlInformation, TViewImages::Hidden);
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
