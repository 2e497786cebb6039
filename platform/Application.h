#pragma once
// The application object: it keeps the program's title (the caption of the
// standard error box and of plain message boxes) and catches every failure
// that leaves an event handler, shows its message, and lets the program go on.

#include <QApplication>
#include <QString>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows a failure's message in the standard error box.
    static void ShowException(const QString& message);
};

QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// Ends the application: the message loop returns once the current handler
// is done. Tests switch the real quit off and read ApplicationTerminated().
void TerminateApplication();
bool ApplicationTerminated();
void SetQuitOnTerminate(bool quit);
void ResetApplicationTerminated();

// The font families the windows and pages name, mapped onto the metric twins
// installed on this system.
void InstallFontSubstitutions();
