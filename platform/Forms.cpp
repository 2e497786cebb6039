#include "platform/Forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>
#include <vector>

TForm* Form_Information = nullptr;

// Follows the focus window and tells program windows when another of them
// becomes active. Boxes and dialogs that are not TForms do not count, so a
// confirmation box never deactivates the window that asked.
class TFormActivationWatcher {
public:
    static TFormActivationWatcher& Instance()
    {
        static TFormActivationWatcher watcher;
        return watcher;
    }

    void Register(TForm* form)
    {
        FForms.push_back(form);
        if (!FConnected && qApp) {
            QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp,
                             [this](QWindow* window) { FocusWindowChanged(window); });
            FConnected = true;
        }
    }

    void Unregister(TForm* form)
    {
        FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
        if (FActive == form)
            FActive = nullptr;
    }

    TForm* Active() const { return FActive; }

    // Top-level windows, newest first, so that companions go before the
    // windows that created them.
    std::vector<TForm*> TopLevelNewestFirst() const
    {
        std::vector<TForm*> result;
        for (auto it = FForms.rbegin(); it != FForms.rend(); ++it)
            if ((*it)->parentWidget() == nullptr)
                result.push_back(*it);
        return result;
    }

private:
    void FocusWindowChanged(QWindow* window)
    {
        if (window == nullptr)
            return; // the application as a whole lost the focus
        TForm* form = FormOf(window);
        if (form == nullptr || form == FActive)
            return;
        TForm* previous = FActive;
        FActive = form;
        if (previous != nullptr)
            previous->FormDeactivate();
        form->FormActivate();
    }

    TForm* FormOf(QWindow* window) const
    {
        for (TForm* form : FForms)
            if (form->windowHandle() == window)
                return form;
        return nullptr;
    }

    std::vector<TForm*> FForms;
    TForm* FActive = nullptr;
    bool FConnected = false;
};

namespace {
TForm* FirstForm = nullptr;
}

TForm::TForm(QWidget* owner, Qt::WindowFlags flags) : QWidget(owner, flags)
{
    TFormActivationWatcher::Instance().Register(this);
    if (FirstForm == nullptr)
        FirstForm = this;
}

TForm::~TForm()
{
    TFormActivationWatcher::Instance().Unregister(this);
    if (FirstForm == this)
        FirstForm = nullptr;
}

TForm* TForm::MainForm() { return FirstForm; }

TForm* TForm::ActiveForm() { return TFormActivationWatcher::Instance().Active(); }

void TForm::Show()
{
    show();
    raise();
    activateWindow();
}

bool TForm::Close()
{
    if (FInClose)
        return false;
    FInClose = true;
    const bool closed = close();
    FInClose = false;
    return closed;
}

void TForm::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Restoring from the task bar is not a new showing.
    if (!event->spontaneous())
        FormShow();
}

TWindowState TForm::WindowState() const
{
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized)
        return TWindowState::wsMinimized;
    if (state & Qt::WindowMaximized)
        return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState state)
{
    switch (state) {
    case TWindowState::wsNormal:
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        break;
    case TWindowState::wsMinimized:
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    case TWindowState::wsMaximized:
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    }
}

QSize TForm::FrameExtra() const
{
    if (!isVisible())
        return QSize(0, 0);
    return frameGeometry().size() - geometry().size();
}

int TForm::Left() const { return frameGeometry().x(); }
int TForm::Top() const { return frameGeometry().y(); }
int TForm::Width() const { return width() + FrameExtra().width(); }
int TForm::Height() const { return height() + FrameExtra().height(); }

void TForm::SetLeft(int left) { move(left, Top()); }
void TForm::SetTop(int top) { move(Left(), top); }
void TForm::SetWidth(int width) { resize(width - FrameExtra().width(), height()); }
void TForm::SetHeight(int height) { resize(width(), height - FrameExtra().height()); }

void TForm::SetBounds(int left, int top, int width, int height)
{
    move(left, top);
    resize(width - FrameExtra().width(), height - FrameExtra().height());
}

void DestroyApplicationWindows()
{
    for (TForm* form : TFormActivationWatcher::Instance().TopLevelNewestFirst())
        delete form;
}

void SetFontPixels(QWidget* widget, const QString& family, int pixels, TFontWeight weight)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(weight == TFontWeight::Bold);
    widget->setFont(font);
}

void FreeListObjects(TStringList* list)
{
    if (list == nullptr)
        return;
    const int count = list->Count();
    for (int i = 0; i < count; ++i) {
        TObject* object = list->Objects(i);
        if (object != nullptr) {
            list->SetObject(i, nullptr);
            delete object;
        }
    }
}

void FreeListWithObjects(TStringList* list)
{
    if (list == nullptr)
        return;
    // Freeing must never fail for the caller: a failing destructor is
    // discarded and the remaining objects are still freed.
    const int count = list->Count();
    for (int i = 0; i < count; ++i) {
        TObject* object = list->Objects(i);
        list->SetObject(i, nullptr);
        try {
            delete object;
        } catch (...) {
        }
    }
    try {
        delete list;
    } catch (...) {
    }
}

void PlaceFormLeftOf(TForm* form, const TForm* reference)
{
    form->SetHeight(reference->Height());
    form->SetTop(reference->Top());
    form->SetLeft(reference->Left() - form->Width());
}
