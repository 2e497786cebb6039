#pragma once
// What the desktop does for the program: open an address with its default
// handler, start a program without waiting, play a sound. Tests install a
// recorder.

#include <QString>
#include <QStringList>

class TShell {
public:
    virtual ~TShell() = default;
    // Hands a web or mail address (or a file) to the desktop's default handler.
    virtual bool OpenAddress(const QString& address) = 0;
    // Starts `program` with `arguments`, each passed as is: no shell
    // interpreter ever sees them. Does not wait.
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
    // Plays a WAV file asynchronously; a new sound replaces the one playing.
    virtual bool PlaySound(const QString& path) = 0;
};

TShell& Shell();
// Installs a shell (not owned); nullptr restores the desktop's.
void SetShell(TShell* shell);

// Splits a command line into program and arguments: blanks separate,
// double quotes group and are removed, "" inside quotes is one quote.
QStringList SplitCommandLine(const QString& commandLine);

class TDesktopShell : public TShell {
public:
    bool OpenAddress(const QString& address) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    bool PlaySound(const QString& path) override;
};

// Records every request and answers with `Answer`.
class TRecordingShell : public TShell {
public:
    struct TRequest {
        QString Kind; // "open", "start" or "play"
        QString Target;
        QStringList Arguments;
    };
    bool OpenAddress(const QString& address) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    bool PlaySound(const QString& path) override;

    QList<TRequest> Requests;
    bool Answer = true;
    bool StartAnswer = true;
};
