// The single controls: edit boxes, buttons, check boxes, radio buttons,
// hidden fields and image buttons.

#include "html/HtmlForms.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <charconv>

namespace {

constexpr int EditInitialWidth = 120;
constexpr int EditHeight = 20;
constexpr int CheckSize = 13;
constexpr int RadioPanelHeight = 14;
// Longest text an edit box takes (the toolkit's own limit).
constexpr int MaxEditLength = 32767;

// Passwords show a "*" for every character, whatever the desktop style
// would draw.
class TStarPasswordStyle : public QProxyStyle {
public:
    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* StarPasswordStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new TStarPasswordStyle;
        style->setParent(qApp);
    }
    return style;
}

// A radio button that a click only ever checks: unchecking is the form's
// business (UncheckOthers), and each button sits alone on its own panel.
class TFormRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
};

// A leading decimal number of text, 0 when there is none.
int LeadingNumber(std::string_view text)
{
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// SIZE of an edit box in characters: its number when positive; otherwise,
// when its text holds both a blank and a comma ("30, 1"), the number before
// the earlier of the two; otherwise 0.
int EditSizeOf(const TAttributeList& attributes)
{
    const TAttribute* size = attributes.FindAttribute(SizeSy);
    if (!size)
        return 0;
    if (size->Number > 0)
        return size->Number;
    const std::string& text = size->Text;
    const size_t blank = text.find(' ');
    const size_t comma = text.find(',');
    if (blank == std::string::npos || comma == std::string::npos)
        return 0;
    return std::max(0, LeadingNumber(std::string_view(text).substr(0, std::min(blank, comma))));
}

} // namespace

// ---------------------------------------------------------------------------
// Edit boxes

TEditFormControlObj::TEditFormControlObj(
    TSectionList* document, ThtmlForm* form, const TAttributeList& attributes, bool password)
    : TFormControlObj(document, form, attributes)
{
    auto* edit = new QLineEdit;
    edit->setFont(PreFont());
    edit->resize(EditInitialWidth, EditHeight);
    if (password) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyle(StarPasswordStyle());
    }
    // A MAXLENGTH of zero or below sets no limit.
    if (const TAttribute* maxLength = attributes.FindAttribute(MaxLengthSy); maxLength && maxLength->Number > 0)
        edit->setMaxLength(std::min(maxLength->Number, MaxEditLength));
    EditSize = EditSizeOf(attributes);
    AdoptControl(edit);
    QObject::connect(edit, &QLineEdit::returnPressed, Context(), [this] { EnterPressed(); });
    ResetToInitial();
}

void TEditFormControlObj::ResetToInitial()
{
    if (auto* edit = qobject_cast<QLineEdit*>(FControl.data()))
        edit->setText(Win1252ToQString(Value));
}

bool TEditFormControlObj::SubmitPair(int index, std::string& text)
{
    auto* edit = qobject_cast<QLineEdit*>(FControl.data());
    if (index != 0 || !edit)
        return false;
    text = Name + "=" + QStringToWin1252(edit->text());
    return true;
}

void TEditFormControlObj::FitToFont()
{
    if (!FControl)
        return;
    FControl->setFont(PreFont());
    const int chars = EditSize > 0 ? std::min(EditSize, MaxChars) : DefaultChars;
    const int charWidth = QFontMetrics(FControl->font()).horizontalAdvance(QLatin1Char('A'));
    SetBoundedSize(chars * charWidth + 5, EditHeight);
}

void TEditFormControlObj::EnterPressed()
{
    if (MyForm->NonHiddenCount == 1)
        MyForm->Submit();
}

// ---------------------------------------------------------------------------
// Buttons

TButtonFormControlObj::TButtonFormControlObj(
    TSectionList* document, ThtmlForm* form, const TAttributeList& attributes, TButtonKind kind)
    : TFormControlObj(document, form, attributes)
    , Kind(kind)
{
    if (Value.empty())
        Value = kind == TButtonKind::Submit ? "Submit" : kind == TButtonKind::Reset ? "Reset" : "Button";
    auto* button = new QPushButton(Win1252ToQString(Value));
    button->setAutoDefault(false);
    AdoptControl(button);
    QObject::connect(button, &QPushButton::clicked, Context(), [this] { Clicked(); });
    FitToFont();
}

bool TButtonFormControlObj::SubmitPair(int, std::string&) { return false; }

void TButtonFormControlObj::FitToFont()
{
    if (!FControl)
        return;
    const QFontMetrics metrics(FControl->font());
    SetBoundedSize(metrics.horizontalAdvance(Win1252ToQString(Value)) + 20, metrics.height() + 8);
}

void TButtonFormControlObj::Clicked()
{
    if (Kind == TButtonKind::Submit)
        MyForm->Submit(Name.empty() ? std::nullopt : std::optional<std::string>(Name + "=" + Value));
    else if (Kind == TButtonKind::Reset)
        MyForm->ResetAll();
    ReportClick();
}

// ---------------------------------------------------------------------------
// Check boxes

TCheckBoxFormControlObj::TCheckBoxFormControlObj(
    TSectionList* document, ThtmlForm* form, const TAttributeList& attributes)
    : TFormControlObj(document, form, attributes)
{
    if (Value.empty())
        Value = "On";
    IsChecked = attributes.FindAttribute(CheckedSy) != nullptr;
    auto* box = new QCheckBox;
    box->resize(CheckSize, CheckSize);
    AdoptControl(box);
    QObject::connect(box, &QCheckBox::clicked, Context(), [this] { ReportClick(); });
    ResetToInitial();
}

bool TCheckBoxFormControlObj::Checked() const
{
    const auto* box = qobject_cast<const QCheckBox*>(FControl.data());
    return box && box->isChecked();
}

void TCheckBoxFormControlObj::ResetToInitial()
{
    if (auto* box = qobject_cast<QCheckBox*>(FControl.data()))
        box->setChecked(IsChecked);
}

bool TCheckBoxFormControlObj::SubmitPair(int index, std::string& text)
{
    if (index != 0)
        return false;
    text = Checked() ? Name + "=" + Value : std::string();
    return true;
}

// ---------------------------------------------------------------------------
// Radio buttons

TRadioButtonFormControlObj::TRadioButtonFormControlObj(
    TSectionList* document, ThtmlForm* form, const TAttributeList& attributes)
    : TFormControlObj(document, form, attributes)
{
    IsChecked = attributes.FindAttribute(CheckedSy) != nullptr;
    auto* panel = new QWidget;
    panel->setAutoFillBackground(true);
    panel->resize(CheckSize, RadioPanelHeight);
    auto* button = new TFormRadioButton(panel);
    button->setAutoExclusive(false);
    button->setGeometry(0, 0, CheckSize, CheckSize);
    Button = button;
    AdoptControl(panel, button);
    QObject::connect(button, &QRadioButton::clicked, Context(), [this] { Clicked(); });
    ResetToInitial();
}

bool TRadioButtonFormControlObj::Checked() const
{
    const auto* button = qobject_cast<const QRadioButton*>(Button.data());
    return button && button->isChecked();
}

void TRadioButtonFormControlObj::SetChecked(bool checked)
{
    if (auto* button = qobject_cast<QRadioButton*>(Button.data()))
        button->setChecked(checked);
}

void TRadioButtonFormControlObj::ResetToInitial() { SetChecked(IsChecked); }

bool TRadioButtonFormControlObj::SubmitPair(int index, std::string& text)
{
    if (index != 0)
        return false;
    text = Checked() ? Name + "=" + Value : std::string();
    return true;
}

void TRadioButtonFormControlObj::PlaceAt(int x, int y)
{
    // The panel shows the background of the cell it stands in, or the page's.
    if (FControl) {
        const TColor background = Cell && Cell->BkGnd ? Cell->BkColor : MasterList->Background;
        const QColor color = ToQColor(background);
        if (FControl->palette().color(QPalette::Window) != color) {
            QPalette palette = FControl->palette();
            palette.setColor(QPalette::Window, color);
            FControl->setPalette(palette);
        }
    }
    TFormControlObj::PlaceAt(x, y);
}

void TRadioButtonFormControlObj::Clicked()
{
    MyForm->UncheckOthers(this);
    ReportClick();
}

// ---------------------------------------------------------------------------
// Image buttons

void TImageFormControlObj::ImageClick(int x, int y)
{
    Clicked = true;
    XPos = x;
    YPos = y;
    MyForm->Submit();
    // Reported once: a later submission from another button does not
    // carry this position.
    Clicked = false;
}

bool TImageFormControlObj::SubmitPair(int index, std::string& text)
{
    if (index > 1)
        return false;
    text.clear();
    if (Clicked) {
        const std::string prefix = Name.empty() ? std::string() : Name + ".";
        text = index == 0 ? prefix + "x=" + std::to_string(XPos) : prefix + "y=" + std::to_string(YPos);
    }
    return true;
}
