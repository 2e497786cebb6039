#include "platform/Application.h"

#include "platform/Dialogs.h"
#include "platform/Exceptions.h"

#include <fenv.h>
#include <exception>

namespace {

QString& Title()
{
    static QString title;
    return title;
}

} // namespace

QString ApplicationTitle() { return Title(); }
void SetApplicationTitle(const QString& title) { Title() = title; }

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Floating-point faults give infinities and NaNs for the whole run.
    fedisableexcept(FE_ALL_EXCEPT);
    setQuitOnLastWindowClosed(false);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception& e) {
        ShowException(e.Message());
    } catch (const std::exception& e) {
        ShowException(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowException(QStringLiteral("Erreur inconnue"));
    }
    return false;
}

void TApplication::ShowException(const QString& message) { Dialogs().ShowError(message); }
