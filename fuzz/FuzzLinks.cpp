// Links: arbitrary link texts through the page window's link dispatch, with
// the viewer's path expansion, asserting that nothing reaches the desktop
// except what the link rules allow: a sound or a program only for a local
// file of that kind, the media player only for a media file, the desktop's
// default handler only for an address of its own web or mail scheme (or for
// an existing media file when the player cannot be started).
//
// The first byte chooses the situation: bits 0-1 the page shown (none, a
// page of the tutorial folder, a page whose base location is "DosPath"),
// bit 2 whether the media player can be started. The rest is the link.

#include "app/LinkDispatch.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTarget.h"
#include "html/HtmlPane.h"
#include "html/HtmlSupport.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Shell.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

const QString Docs = QStringLiteral("C:\\Korvalith\\Docs\\");

// Viewers showing each situation's page, made once.
std::array<std::unique_ptr<THtmlPane>, 3>& Viewers()
{
    static std::array<std::unique_ptr<THtmlPane>, 3> viewers;
    if (viewers[0])
        return viewers;
    TMemoryFileSystem& files = FuzzFileSystem();
    files.AddFile(Docs + QStringLiteral("page.htm"), "<p>page</p>");
    files.AddFile(Docs + QStringLiteral("base.htm"), "<base href=\"DosPath\"><p>base</p>");
    files.AddFile(Docs + QStringLiteral("air.mid"), "MThd");
    files.AddFile(Docs + QStringLiteral("film.avi"), "RIFF");
    for (auto& viewer : viewers)
        viewer = std::make_unique<THtmlPane>();
    viewers[1]->LoadHtmlFile(Docs + QStringLiteral("page.htm"));
    viewers[2]->LoadHtmlFile(Docs + QStringLiteral("base.htm"));
    return viewers;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

QString UpperExtension(const QString& path) { return ExtractFileExt(path).toUpper().left(5); }

bool IsMediaFile(const QString& path)
{
    const QString extension = UpperExtension(path);
    return extension == QLatin1String(".MID") || extension == QLatin1String(".AVI");
}

// The rules, stated once more in their plainest form.
bool NamesLocalFile(const std::string& link)
{
    const size_t colon = link.find(':');
    return colon == std::string::npos || colon <= 1 || UpperCase1252(link).find("FILE:") != std::string::npos;
}

bool IsWebOrMailAddress(const std::string& link)
{
    const std::string upper = UpperCase1252(link);
    return upper.rfind("HTTP:", 0) == 0 || upper.rfind("MAILTO:", 0) == 0;
}

bool IsMediaPlayerStart(const TRecordingShell::TRequest& request)
{
    return request.Kind == QLatin1String("start") && request.Target == MediaPlayerProgram
        && request.Arguments.size() == 3 && request.Arguments[0] == QLatin1String("/play")
        && request.Arguments[1] == QLatin1String("/close") && IsMediaFile(request.Arguments[2]);
}

void CheckRequests(const std::string& link, bool handled, bool playerStarts)
{
    const QList<TRecordingShell::TRequest>& requests = FuzzShell().Requests;
    Check(handled == !requests.isEmpty());
    Check(requests.size() <= 2);
    const bool local = NamesLocalFile(link);
    for (qsizetype i = 0; i < requests.size(); ++i) {
        const TRecordingShell::TRequest& request = requests[i];
        if (request.Kind == QLatin1String("play")) {
            Check(local && requests.size() == 1 && UpperExtension(request.Target) == QLatin1String(".WAV"));
        } else if (request.Kind == QLatin1String("start")) {
            Check(local && i == 0);
            Check(IsMediaPlayerStart(request) || UpperExtension(request.Target) == QLatin1String(".EXE"));
        } else if (request.Kind == QLatin1String("open")) {
            const bool address
                = i == 0 && !local && IsWebOrMailAddress(link) && request.Target == Win1252ToQString(link);
            const bool mediaFallback = i == 1 && !playerStarts && IsMediaPlayerStart(requests[0])
                && FileSystem().FileExists(requests[0].Arguments[2])
                && request.Target == FileSystem().NativePath(requests[0].Arguments[2]);
            Check(address || mediaFallback);
        } else {
            Check(false);
        }
    }
}

} // namespace

KORVALITH_FUZZ_TARGET(links)(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    ResetFuzzDoubles();
    THtmlPane& viewer = *Viewers()[(data[0] & 3) % 3];
    const bool playerStarts = (data[0] & 4) == 0;
    FuzzShell().StartAnswer = playerStarts;
    const std::string link(reinterpret_cast<const char*>(data + 1), size - 1);

    const bool handled = DispatchLink(link, [&](const std::string& name) { return viewer.ExpandLinkName(name); });
    CheckRequests(link, handled, playerStarts);

    // The path handling on its own, over the whole text.
    const QString expanded = viewer.ExpandLinkName(link);
    FuzzFileSystem().FileExists(expanded);
    SplitCommandLine(Win1252ToQString(link));
    FuzzShell().StartAnswer = true;
    return 0;
}
