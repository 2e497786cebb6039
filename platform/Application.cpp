#include "platform/Application.h"

#include "platform/Dialogs.h"
#include "platform/Exceptions.h"

#include <QFont>

#include <fenv.h>
#include <exception>

namespace {

QString& Title()
{
    static QString title;
    return title;
}

bool Terminated = false;
bool QuitOnTerminate = true;

} // namespace

QString ApplicationTitle() { return Title(); }
void SetApplicationTitle(const QString& title) { Title() = title; }

void TerminateApplication()
{
    Terminated = true;
    if (QuitOnTerminate)
        QCoreApplication::quit();
}

bool ApplicationTerminated() { return Terminated; }
void SetQuitOnTerminate(bool quit) { QuitOnTerminate = quit; }
void ResetApplicationTerminated() { Terminated = false; }

void InstallFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Floating-point faults give infinities and NaNs for the whole run.
    fedisableexcept(FE_ALL_EXCEPT);
    setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
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
