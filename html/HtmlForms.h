#pragma once
// HTML form controls: FORM, INPUT, SELECT and TEXTAREA as real widgets on
// the viewer's paint surface, at the positions of their placeholders in the
// text. A form collects its controls, resets them, keeps its radio groups
// exclusive and, on submit, hands a list of name=value strings to the
// viewer. Nothing is sent anywhere from here.
//
// Ownership: the text section that holds a control's placeholder owns the
// control (the document frees sections before forms); the form keeps plain
// pointers to its controls, in page order. A control's widget is a child of
// the paint surface and goes with the control.

#include "html/HtmlSections.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class THtmlPane;
class TStringList;
class TFormControlObj;
class TRadioButtonFormControlObj;

// What the controls need of the viewer that shows their document.
struct TFormViewer {
    // The paint surface, parent of every window control.
    QPointer<QWidget> Surface;
    // Whether the viewer wants submissions (its OnFormSubmit is set).
    std::function<bool()> SubmitInstalled;
    // Receives a submission; the receiver owns the results.
    std::function<void(const std::string& action, const std::string& target, const std::string& encType,
        const std::string& method, std::unique_ptr<TStringList> results)>
        Submit;
    // A button, check box or radio button was clicked: the control and its
    // ONCLICK text.
    std::function<void(TObject* control, const std::string& onClick)> ObjectClick;
    // A control got the focus; y is its line in document space.
    std::function<void(int y)> ControlEntered;

    // The control that last got the keyboard focus, while it exists.
    TFormControlObj* Focused = nullptr;
};

// Controls made for one page at most (each is a widget); the rest of a page
// that asks for more shows without them.
constexpr size_t MaxControlsPerPage = 10000;

// Installs the form and control factories in the document. Every control
// made from then on lives on the viewer's surface.
void InstallFormFactories(TSectionList& document, std::shared_ptr<TFormViewer> viewer);
// The same for the document of a viewer control.
void InstallFormFactories(THtmlPane& pane);

// ---------------------------------------------------------------------------
class ThtmlForm : public TObject {
public:
    static constexpr size_t MaxMethod = 4;

    ThtmlForm(TSectionList* document, const TAttributeList& attributes, std::shared_ptr<TFormViewer> viewer);

    TSectionList* MasterList;
    std::string Method = "Get";
    std::string Action;
    std::string Target;
    std::string EncType;
    // In page order; the sections own them.
    std::vector<TFormControlObj*> ControlList;
    int NonHiddenCount = 0;

    void AddControl(TFormControlObj* control);
    // Unchecks every other radio of this form whose NAME equals the radio's,
    // ignoring case; a radio without NAME affects none.
    void UncheckOthers(const TRadioButtonFormControlObj* radio);
    void ResetAll();
    // Only while the viewer wants submissions: every control's pairs in
    // order (empty ones skipped), then the extra pair, go to the viewer.
    void Submit(const std::optional<std::string>& extraPair = std::nullopt);
    // The pairs that Submit would hand over (image positions are reported,
    // and so cleared, only by Submit).
    std::vector<std::string> CollectPairs(const std::optional<std::string>& extraPair);

    TFormViewer& Viewer() const { return *FViewer; }
    const std::shared_ptr<TFormViewer>& ViewerShare() const { return FViewer; }

private:
    std::shared_ptr<TFormViewer> FViewer;
};

// ---------------------------------------------------------------------------
// The base of every control kind.
class TFormControlObj : public TSectionControl {
public:
    TFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    ~TFormControlObj() noexcept(false) override;

    TSectionList* MasterList;
    ThtmlForm* MyForm;
    std::string Value;
    std::string Name;
    std::string OnClickMessage;

    // Virtual operations, in slot order.
    // 1. The widget to place (a radio button's panel for radios); null for
    // hidden fields and image buttons.
    virtual QWidget* WindowControl() const { return FControl; }
    // 2. ResetToInitial (TSectionControl): the state given in the page.
    // 3. The name=value strings of the control, one index at a time; false
    // ends its list. An empty text is skipped by the form.
    virtual bool SubmitPair(int index, std::string& text);
    // 4. FitToFont (TSectionControl): sizes the widget from its font.

    // Hidden fields do not count among the form's visible controls.
    virtual bool IsHidden() const { return false; }

    int ControlWidth() const override;
    int ControlHeight() const override;
    void PlaceAt(int x, int y) override;
    void HideControl(const QRect& paintedArea) override;

    // Focus and clicks from the widget.
    void ControlEntered();
    void ControlExited();
    // The viewer's OnObjectClick with the ONCLICK text. Last thing a click
    // handler does: the handler may clear the page, and this object with it.
    void ReportClick();

    // Not painted since the last scroll or layout: hidden, except the
    // focused control and its neighbours in the tab order, which wait
    // off-screen but visible so that tabbing reaches them (and the viewer
    // then scrolls to the one entered). Only those few: thousands of visible
    // siblings would make every widget move cost time in their number.
    void Tidy();

    // The neighbours in page (and tab) order among controls with a widget.
    TFormControlObj* PrevInTab = nullptr;
    TFormControlObj* NextInTab = nullptr;
    // Links the control after the last one with a widget in the document.
    void LinkTabOrder();

    // New window controls wait above the visible area until painted.
    static constexpr int WaitingY = -400;
    // Where a control not painted waits while a page control has the focus.
    static constexpr int OffScreenX = -4000;
    // No attribute makes a widget wider or taller than this.
    static constexpr int MaxExtent = 4000;
    static constexpr int PreFontPoints = 10;

protected:
    // Takes the widget, parents it to the surface at the waiting place and
    // routes its focus changes here.
    void AdoptControl(QWidget* control, QWidget* focusWidget = nullptr);
    // The font of edits, lists and memos: the document's pre font at 10 points.
    QFont PreFont() const;
    void SetBoundedSize(int width, int height);
    // Whether the keyboard focus is on one of the surface's controls.
    bool FocusOnPage() const;
    bool KeepsTabOrder() const;
    // Moves a control not painted off-screen and shows it.
    void WaitOffScreen();

    // The context of the widget's signal connections (see TControlWatch).
    QObject* Context() const;
    // The viewer's services, kept by each control: a control may outlive
    // its form while a document is being cleared.
    TFormViewer& Viewer() const { return *FViewer; }

    QPointer<QWidget> FControl;

private:
    std::shared_ptr<TFormViewer> FViewer;
    std::unique_ptr<QObject> FWatch;
};

// INPUT text and password (also no or an unknown TYPE).
class TEditFormControlObj : public TFormControlObj {
public:
    TEditFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes, bool password);
    void ResetToInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void FitToFont() override;
    // Enter: submits a form whose only visible control this is.
    void EnterPressed();

    // SIZE when positive; otherwise the number before the first blank or
    // comma of a text holding both; otherwise 0 (20 characters).
    int EditSize = 0;
    static constexpr int DefaultChars = 20;
    static constexpr int MaxChars = 400;
};

enum class TButtonKind { Submit, Reset, Plain };

// INPUT submit, reset and button.
class TButtonFormControlObj : public TFormControlObj {
public:
    TButtonFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes, TButtonKind kind);
    // Buttons submit nothing themselves; a submit button adds its pair.
    bool SubmitPair(int index, std::string& text) override;
    void FitToFont() override;
    void Clicked();
    TButtonKind Kind;
};

class TCheckBoxFormControlObj : public TFormControlObj {
public:
    TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    void ResetToInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    bool OnBaseline() const override { return true; }
    bool Checked() const;
    bool IsChecked = false; // CHECKED
};

class TRadioButtonFormControlObj : public TFormControlObj {
public:
    TRadioButtonFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    void ResetToInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    bool OnBaseline() const override { return true; }
    void PlaceAt(int x, int y) override;
    bool Checked() const;
    void SetChecked(bool checked);
    void Clicked();
    bool IsChecked = false; // CHECKED
    // The button on the panel that WindowControl gives.
    QPointer<QWidget> Button;
};

class THiddenFormControlObj : public TFormControlObj {
public:
    using TFormControlObj::TFormControlObj;
    bool IsHidden() const override { return true; }
};

// INPUT image: an inline image carries it; a click on the image submits
// the form with the position inside the image.
class TImageFormControlObj : public TFormControlObj {
public:
    using TFormControlObj::TFormControlObj;
    bool CarriedByImage() const override { return true; }
    void ImageClick(int x, int y) override;
    bool SubmitPair(int index, std::string& text) override;
    bool Clicked = false;
    int XPos = 0;
    int YPos = 0;
};

// One OPTION of a SELECT; its caption is the list line that holds it.
class TOptionObj : public TObject {
public:
    TOptionObj(std::string value, bool selected)
        : Value(std::move(value))
        , Selected(selected)
    {
    }
    std::string Value; // empty when absent: the caption is submitted
    bool Selected;
};

// What list boxes and drop-down lists share: the options and their lines.
class TListFormControlObj : public TFormControlObj {
public:
    using TFormControlObj::TFormControlObj;
    void AddOption(const std::string& value, const std::string& caption, bool selected) override;
    // What the line submits: its option's VALUE, else its caption.
    std::string LineValue(int line) const;

    TFreeList TheOptions;
    std::vector<std::string> Captions;
    size_t LongestCaption = 3;
    // Options kept at most: each becomes a line of the widget.
    static constexpr int MaxOptions = 10000;
};

// SELECT with MULTIPLE or SIZE above 1.
class TListBoxFormControlObj : public TListFormControlObj {
public:
    TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    void ResetToInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void FitToFont() override;
    int ListSize = 0; // SIZE, 0 when absent
    bool Multiple = false;
    static constexpr int MaxRows = 200;
};

// SELECT otherwise: a drop-down list that cannot be edited.
class TComboFormControlObj : public TListFormControlObj {
public:
    TComboFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    void ResetToInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void FitToFont() override;
};

class TTextAreaFormControlObj : public TFormControlObj {
public:
    TTextAreaFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    void AddLine(const std::string& line) override;
    void ResetToInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void FitToFont() override;
    // The memo's text, line by line, as it is now.
    std::vector<std::string> Lines() const;

    std::vector<std::string> InitialLines;
    int Rows = DefaultRows;
    int Cols = DefaultCols;
    bool Wrap = false; // WRAP soft or hard
    static constexpr int DefaultRows = 5;
    static constexpr int DefaultCols = 30;
    static constexpr int MaxRows = 200;
    static constexpr int MaxCols = 400;
    // Lines of the page's text kept at most.
    static constexpr int MaxLines = 100000;

private:
    std::vector<std::string> FSubmitLines; // during one submission
};

// ---------------------------------------------------------------------------
// The controls of one section, looked up by placeholder position.
class TFormControlList {
public:
    explicit TFormControlList(const TSection& section)
        : FSection(section)
    {
    }
    // The control whose placeholder is at pos, with its size and baseline
    // flag; false when there is none.
    bool FindControl(int pos, TFormControlObj*& control, int& height, bool& baseline, int& width) const;

private:
    const TSection& FSection;
};
