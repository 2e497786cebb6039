#pragma once
// The program's windows. TForm gives every window the behaviour its handlers
// rely on: window states that do not show a hidden window, a close that asks
// FormCloseQuery and then runs FormClose (a secondary window only hides),
// FormShow on each showing, and FormActivate/FormDeactivate when another of
// the program's windows (not a message box it opened) becomes active.
// Positions and sizes are those of the outer frame.

#include "platform/StringList.h"

#include <QWidget>

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* owner = nullptr, Qt::WindowFlags flags = Qt::Window);
    ~TForm() override;

    void Show();
    void Hide() { hide(); }
    bool Visible() const { return isVisible(); }
    void SetVisible(bool visible) { visible ? Show() : Hide(); }
    // Asks FormCloseQuery; when allowed, runs FormClose and hides. Returns
    // true when the window closed.
    bool Close();

    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    // The program window that was activated last, or null.
    static TForm* ActiveForm();
    // The first program window created (the application's main window),
    // null once it is gone.
    static TForm* MainForm();

protected:
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}
    virtual void FormShow() {}
    virtual void FormActivate() {}
    virtual void FormDeactivate() {}

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TFormActivationWatcher;
    QSize FrameExtra() const;
    bool FInClose = false;
};

// The window standing for the scene window's explanatory page; lower layers
// show it without knowing its class (null until created).
extern TForm* Form_Information;

// The application owns its windows: destroys every top-level program
// window, the newest first, at the end of the run.
void DestroyApplicationWindows();

enum class TFontWeight { Normal, Bold };
// Gives a widget the font `family` with a character height in pixels.
void SetFontPixels(QWidget* widget, const QString& family, int pixels, TFontWeight weight = TFontWeight::Normal);

// Destroys the object (through its virtual destructor) and clears the
// variable; a null variable is left alone.
template <class T>
void FreeObjectAndClear(T*& object)
{
    if (object != nullptr) {
        T* doomed = object;
        delete doomed;
        object = nullptr;
    }
}

// Destroys every object attached to the list's entries and clears the
// attachments; strings and count stay. A null list is left alone.
void FreeListObjects(TStringList* list);
// FreeListObjects, then destroys the list; never reports a failure.
void FreeListWithObjects(TStringList* list);
// Gives `form` the reference's height and top and puts it directly left of
// the reference, flush against it (the left edge may be negative).
void PlaceFormLeftOf(TForm* form, const TForm* reference);
