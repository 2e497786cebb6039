#include "platform/Shell.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QSoundEffect>
#include <QUrl>


namespace {

TShell* Installed = nullptr;

} // namespace

TShell& Shell()
{
    static TDesktopShell desktop;
    return Installed ? *Installed : desktop;
}

void SetShell(TShell* shell) { Installed = shell; }

QStringList SplitCommandLine(const QString& commandLine)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    bool inPart = false;
    for (int i = 0; i < commandLine.size(); ++i) {
        const QChar c = commandLine.at(i);
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < commandLine.size() && commandLine.at(i + 1) == QLatin1Char('"')) {
                current += c;
                ++i;
            } else {
                quoted = !quoted;
            }
            inPart = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (inPart)
                parts.append(current);
            current.clear();
            inPart = false;
        } else {
            current += c;
            inPart = true;
        }
    }
    if (inPart)
        parts.append(current);
    return parts;
}

bool TDesktopShell::OpenAddress(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool TDesktopShell::StartProgram(const QString& program, const QStringList& arguments)
{
    if (program.isEmpty())
        return false;
    QString native = program;
    if (FileSystem().FileExists(program))
        native = FileSystem().NativePath(program);
    return QProcess::startDetached(native, arguments);
}

bool TDesktopShell::PlaySound(const QString& path)
{
    if (!FileSystem().FileExists(path))
        return false;
    // One effect for the whole run, as a new sound cuts the previous one.
    // Owned by the application so that it goes before the audio back end.
    static QSoundEffect* effect = new QSoundEffect(QCoreApplication::instance());
    effect->stop();
    effect->setSource(QUrl::fromLocalFile(FileSystem().NativePath(path)));
    effect->play();
    return true;
}

bool TRecordingShell::OpenAddress(const QString& address)
{
    Requests.append({QStringLiteral("open"), address, {}});
    return Answer;
}

bool TRecordingShell::StartProgram(const QString& program, const QStringList& arguments)
{
    Requests.append({QStringLiteral("start"), program, arguments});
    return StartAnswer;
}

bool TRecordingShell::PlaySound(const QString& path)
{
    Requests.append({QStringLiteral("play"), path, {}});
    return Answer;
}
