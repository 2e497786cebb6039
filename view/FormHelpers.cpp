#include "view/FormHelpers.h"

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Numbers.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

void CenterFormOnScreen(TForm* form)
{
    const QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    const auto half = [](int size) { return static_cast<int>(Round(size / 2.0L)); };
    form->SetTop(area.y() + half(area.height()) - half(form->Height()));
    form->SetLeft(area.x() + half(area.width()) - half(form->Width()));
}

void ShowPlainMessage(const QString& text) { Dialogs().ShowMessage(ApplicationTitle(), text); }

void SetSwatchColor(QWidget* swatch, int color)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Base, ColorFromBGR(color));
    palette.setColor(QPalette::Window, ColorFromBGR(color));
    swatch->setPalette(palette);
    swatch->setAutoFillBackground(true);
    swatch->update();
}

int SwatchColor(const QWidget* swatch) { return ColorToBGR(swatch->palette().color(QPalette::Base)); }

namespace {

class TExitWatcher : public QObject {
public:
    TExitWatcher(QWidget* widget, std::function<void()> handler) : QObject(widget), FHandler(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                FHandler();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> FHandler;
};

} // namespace

void OnExit(QWidget* widget, std::function<void()> handler) { new TExitWatcher(widget, std::move(handler)); }
