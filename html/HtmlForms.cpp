// Forms, the common behaviour of every control (placement, focus, tidying),
// and the factories that turn FORM, INPUT, SELECT and TEXTAREA into them.

#include "html/HtmlForms.h"

#include "html/HtmlFonts.h"
#include "html/HtmlPane.h"
#include "platform/StringList.h"

#include <QApplication>
#include <QEvent>

#include <algorithm>

namespace {

std::string AttributeText(const TAttributeList& attributes, TAttrSymbol symbol)
{
    const TAttribute* attribute = attributes.FindAttribute(symbol);
    return attribute ? attribute->Text : std::string();
}

// Routes the focus changes of a control's widget to the control. Deleting
// it (with the control) also drops every signal connection made with it as
// context, so a widget waiting for deferred deletion cannot call a control
// that is gone.
class TControlWatch : public QObject {
public:
    explicit TControlWatch(TFormControlObj* control)
        : FControl(control)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            FControl->ControlEntered();
        else if (event->type() == QEvent::FocusOut)
            FControl->ControlExited();
        return QObject::eventFilter(watched, event);
    }

private:
    TFormControlObj* FControl;
};

ThtmlForm* CurrentOrNewForm(TSectionList& document, TObject*& form, const std::shared_ptr<TFormViewer>& viewer)
{
    if (auto* current = dynamic_cast<ThtmlForm*>(form))
        return current;
    const TAttributeList none;
    auto* created = document.FormList.Add(std::make_unique<ThtmlForm>(&document, none, viewer));
    form = created;
    return created;
}

std::unique_ptr<TFormControlObj> MakeControl(TSectionList& document, ThtmlForm* form, const std::string& tag,
    const TAttributeList& attributes, bool& placeholder)
{
    const std::string kind = LowerCase1252(tag);
    placeholder = true;
    if (kind == "select") {
        const TAttribute* size = attributes.FindAttribute(SizeSy);
        if (attributes.FindAttribute(MultipleSy) || (size && size->Number > 1))
            return std::make_unique<TListBoxFormControlObj>(&document, form, attributes);
        return std::make_unique<TComboFormControlObj>(&document, form, attributes);
    }
    if (kind == "textarea")
        return std::make_unique<TTextAreaFormControlObj>(&document, form, attributes);
    if (kind == "submit")
        return std::make_unique<TButtonFormControlObj>(&document, form, attributes, TButtonKind::Submit);
    if (kind == "reset")
        return std::make_unique<TButtonFormControlObj>(&document, form, attributes, TButtonKind::Reset);
    if (kind == "button")
        return std::make_unique<TButtonFormControlObj>(&document, form, attributes, TButtonKind::Plain);
    if (kind == "checkbox")
        return std::make_unique<TCheckBoxFormControlObj>(&document, form, attributes);
    if (kind == "radio")
        return std::make_unique<TRadioButtonFormControlObj>(&document, form, attributes);
    if (kind == "hidden" || kind == "image") {
        placeholder = false;
        if (kind == "hidden")
            return std::make_unique<THiddenFormControlObj>(&document, form, attributes);
        return std::make_unique<TImageFormControlObj>(&document, form, attributes);
    }
    return std::make_unique<TEditFormControlObj>(&document, form, attributes, kind == "password");
}

// While a control reports a click, the viewer's handler may clear the page
// and so destroy controls whose widget is still inside its own signal.
int ClicksBeingReported = 0;

} // namespace

void InstallFormFactories(TSectionList& document, std::shared_ptr<TFormViewer> viewer)
{
    document.FormFactory = [viewer](TSectionList& doc, const TAttributeList& attributes) {
        return std::unique_ptr<TObject>(std::make_unique<ThtmlForm>(&doc, attributes, viewer));
    };
    document.FormControlFactory = [viewer](TSectionList& doc, TObject*& form, const std::string& tag,
                                      const TAttributeList& attributes, bool& placeholder) {
        if (doc.FormControlList.size() >= MaxControlsPerPage)
            return std::unique_ptr<TSectionControl>();
        ThtmlForm* owner = CurrentOrNewForm(doc, form, viewer);
        std::unique_ptr<TFormControlObj> control = MakeControl(doc, owner, tag, attributes, placeholder);
        owner->AddControl(control.get());
        control->LinkTabOrder();
        return std::unique_ptr<TSectionControl>(std::move(control));
    };
}

void InstallFormFactories(THtmlPane& pane)
{
    auto viewer = std::make_shared<TFormViewer>();
    viewer->Surface = pane.PaintPanel();
    viewer->SubmitInstalled = [&pane] { return pane.SubmitInstalled(); };
    viewer->Submit = [&pane](const std::string& action, const std::string& target, const std::string& encType,
                         const std::string& method, std::unique_ptr<TStringList> results) {
        pane.SubmitForm(action, target, encType, method, std::move(results));
    };
    viewer->ObjectClick = [&pane](TObject* control, const std::string& onClick) {
        // A copy: the handler may replace itself.
        const TObjectClickEvent handler = pane.OnObjectClick();
        if (handler)
            handler(&pane, control, onClick);
    };
    viewer->ControlEntered = [&pane](int y) { pane.FormControlEntered(y); };
    InstallFormFactories(pane.SectionList(), std::move(viewer));
}

// ---------------------------------------------------------------------------
// ThtmlForm

ThtmlForm::ThtmlForm(TSectionList* document, const TAttributeList& attributes, std::shared_ptr<TFormViewer> viewer)
    : MasterList(document)
    , FViewer(std::move(viewer))
{
    if (const std::string method = AttributeText(attributes, MethodSy); !method.empty())
        Method = method.substr(0, MaxMethod);
    Action = AttributeText(attributes, ActionSy);
    Target = AttributeText(attributes, TargetSy);
    EncType = AttributeText(attributes, EncTypeSy);
}

void ThtmlForm::AddControl(TFormControlObj* control)
{
    ControlList.push_back(control);
    if (!control->IsHidden())
        ++NonHiddenCount;
}

void ThtmlForm::UncheckOthers(const TRadioButtonFormControlObj* radio)
{
    if (radio->Name.empty())
        return;
    const std::string name = LowerCase1252(radio->Name);
    for (TFormControlObj* control : ControlList) {
        auto* other = dynamic_cast<TRadioButtonFormControlObj*>(control);
        if (other && other != radio && LowerCase1252(other->Name) == name)
            other->SetChecked(false);
    }
}

void ThtmlForm::ResetAll()
{
    for (TFormControlObj* control : ControlList)
        control->ResetToInitial();
}

std::vector<std::string> ThtmlForm::CollectPairs(const std::optional<std::string>& extraPair)
{
    std::vector<std::string> pairs;
    for (TFormControlObj* control : ControlList) {
        std::string text;
        for (int index = 0; control->SubmitPair(index, text); ++index) {
            if (!text.empty())
                pairs.push_back(std::move(text));
            text.clear();
        }
    }
    if (extraPair && !extraPair->empty())
        pairs.push_back(*extraPair);
    return pairs;
}

void ThtmlForm::Submit(const std::optional<std::string>& extraPair)
{
    if (!FViewer->Submit || !FViewer->SubmitInstalled || !FViewer->SubmitInstalled())
        return;
    auto results = std::make_unique<TStringList>();
    for (const std::string& pair : CollectPairs(extraPair))
        results->Add(Win1252ToQString(pair));
    FViewer->Submit(Action, Target, EncType, Method, std::move(results));
}

// ---------------------------------------------------------------------------
// TFormControlObj

TFormControlObj::TFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes)
    : MasterList(document)
    , MyForm(form)
    , FViewer(form->ViewerShare())
{
    Value = AttributeText(attributes, ValueSy);
    Name = AttributeText(attributes, NameSy);
    OnClickMessage = AttributeText(attributes, OnClickSy);
}

TFormControlObj::~TFormControlObj() noexcept(false)
{
    // The watch goes first: the widget may still deliver events until its
    // deferred deletion, and they must not reach this object. Deferred,
    // because the control may be going away inside one of its own widget's
    // signals (an ONCLICK handler that loads another page).
    FWatch.reset();
    if (PrevInTab)
        PrevInTab->NextInTab = NextInTab;
    if (NextInTab)
        NextInTab->PrevInTab = PrevInTab;
    if (Viewer().Focused == this)
        Viewer().Focused = nullptr;
    if (!FControl)
        return;
    if (ClicksBeingReported > 0) {
        FControl->hide();
        FControl->deleteLater();
    } else {
        delete FControl.data();
    }
}

void TFormControlObj::LinkTabOrder()
{
    if (!WindowControl())
        return;
    const auto& all = MasterList->FormControlList;
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        auto* previous = dynamic_cast<TFormControlObj*>(*it);
        if (previous && previous != this && previous->WindowControl()) {
            PrevInTab = previous;
            previous->NextInTab = this;
            return;
        }
    }
}

void TFormControlObj::AdoptControl(QWidget* control, QWidget* focusWidget)
{
    FControl = control;
    control->setParent(Viewer().Surface);
    control->move(0, WaitingY);
    FWatch = std::make_unique<TControlWatch>(this);
    (focusWidget ? focusWidget : control)->installEventFilter(FWatch.get());
    // Hidden until painted, whether or not the surface is showing yet.
    control->hide();
}

QObject* TFormControlObj::Context() const { return FWatch.get(); }

QFont TFormControlObj::PreFont() const
{
    QFont font(Win1252ToQString(MasterList->PreFontName));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(PointsToPixels(PreFontPoints));
    return font;
}

void TFormControlObj::SetBoundedSize(int width, int height)
{
    if (FControl)
        FControl->resize(std::clamp(width, 1, MaxExtent), std::clamp(height, 1, MaxExtent));
}

bool TFormControlObj::SubmitPair(int index, std::string& text)
{
    if (index != 0)
        return false;
    text = Name + "=" + Value;
    return true;
}

int TFormControlObj::ControlWidth() const
{
    const QWidget* control = WindowControl();
    return control ? control->width() : 0;
}

int TFormControlObj::ControlHeight() const
{
    const QWidget* control = WindowControl();
    return control ? control->height() : 0;
}

void TFormControlObj::PlaceAt(int x, int y)
{
    QWidget* control = WindowControl();
    if (!control)
        return;
    if (control->pos() != QPoint(x, y))
        control->move(x, y);
    if (control->isHidden())
        control->show();
}

bool TFormControlObj::FocusOnPage() const
{
    const QWidget* surface = Viewer().Surface;
    const QWidget* focus = QApplication::focusWidget();
    return surface && focus && surface->isAncestorOf(focus);
}

bool TFormControlObj::KeepsTabOrder() const
{
    const TFormControlObj* focused = Viewer().Focused;
    return focused && (this == focused || this == focused->PrevInTab || this == focused->NextInTab) && FocusOnPage();
}

void TFormControlObj::WaitOffScreen()
{
    QWidget* control = WindowControl();
    if (!control || ShownInPaint)
        return;
    if (control->x() != OffScreenX)
        control->move(OffScreenX, control->y());
    if (control->isHidden())
        control->show();
}

void TFormControlObj::Tidy()
{
    QWidget* control = WindowControl();
    if (!control)
        return;
    if (KeepsTabOrder())
        WaitOffScreen();
    else if (!control->isHidden())
        control->hide();
}

void TFormControlObj::HideControl(const QRect& paintedArea)
{
    const QWidget* control = WindowControl();
    const QWidget* surface = Viewer().Surface;
    if (!control || control->isHidden())
        return;
    const QRect box = control->geometry();
    if (surface && box.intersects(surface->rect()) && !box.intersects(paintedArea))
        return;
    Tidy();
}

void TFormControlObj::ControlEntered()
{
    // The neighbours wait off-screen but visible, so that Tab and Shift+Tab
    // go on through the page from here.
    Viewer().Focused = this;
    for (TFormControlObj* neighbour : { PrevInTab, NextInTab })
        if (neighbour)
            neighbour->WaitOffScreen();
    if (Viewer().ControlEntered)
        Viewer().ControlEntered(YValue);
    // Already in view but never painted there: a paint places it.
    if (!ShownInPaint && Viewer().Surface)
        Viewer().Surface->update();
}

void TFormControlObj::ControlExited()
{
    if (FocusOnPage())
        return;
    for (TSectionControl* item : MasterList->FormControlList)
        if (auto* control = dynamic_cast<TFormControlObj*>(item); control && !control->ShownInPaint)
            control->Tidy();
}

void TFormControlObj::ReportClick()
{
    // A copy: the handler may clear the page, and the form with it.
    const auto report = Viewer().ObjectClick;
    if (!report)
        return;
    struct TReporting {
        TReporting() { ++ClicksBeingReported; }
        ~TReporting() { --ClicksBeingReported; }
    } reporting;
    report(this, OnClickMessage);
}

// ---------------------------------------------------------------------------
// TFormControlList

bool TFormControlList::FindControl(int pos, TFormControlObj*& control, int& height, bool& baseline, int& width) const
{
    control = dynamic_cast<TFormControlObj*>(FSection.ControlAt(pos));
    if (!control)
        return false;
    height = control->ControlHeight();
    baseline = control->OnBaseline();
    width = control->ControlWidth();
    return true;
}
