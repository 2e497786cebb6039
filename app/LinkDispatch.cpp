#include "app/LinkDispatch.h"

#include "html/HtmlSupport.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Shell.h"

#include <string_view>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A colon at position 1 or 2 is a drive letter at most ("C:"); the file
// scheme may be written in any case.
bool NamesLocalFile(const std::string& link, const std::string& upper)
{
    const size_t colon = link.find(':');
    return colon == std::string::npos || colon < 2 || upper.find("FILE:") != std::string::npos;
}

// The file name and its parameters: a blank separates them, or else a "?".
void SplitParameters(std::string_view text, std::string& name, std::string& parameters)
{
    size_t at = text.find(' ');
    if (at == std::string_view::npos)
        at = text.find('?');
    if (at == std::string_view::npos) {
        name = std::string(text);
        parameters.clear();
        return;
    }
    name = std::string(text.substr(0, at));
    parameters = std::string(text.substr(at + 1, MaxLinkLength));
}

TLinkAction ClassifyLocalFile(const std::string& link, const TExpandLinkName& expandLinkName)
{
    std::string name;
    std::string parameters;
    SplitParameters(std::string_view(link).substr(0, MaxLinkLength), name, parameters);

    TLinkAction action;
    action.Target = expandLinkName(name);
    const QString extension = ExtractFileExt(action.Target).toUpper().left(5);
    if (extension == QLatin1String(".WAV")) {
        action.Kind = TLinkActionKind::PlaySound;
    } else if (extension == QLatin1String(".EXE")) {
        action.Kind = TLinkActionKind::StartProgram;
        action.Arguments = SplitCommandLine(Win1252ToQString(parameters));
    } else if (extension == QLatin1String(".MID") || extension == QLatin1String(".AVI")) {
        action.Kind = TLinkActionKind::StartMediaPlayer;
        action.Arguments = MediaPlayerSwitches;
        action.Arguments.append(action.Target);
    }
    return action;
}

} // namespace

TLinkAction ClassifyLink(const std::string& link, const TExpandLinkName& expandLinkName)
{
    const std::string upper = UpperCase1252(link);
    if (NamesLocalFile(link, upper))
        return ClassifyLocalFile(link, expandLinkName);

    // Only the address's own scheme counts: "javascript:...HTTP:..." or a
    // secure-web address is not handed over.
    TLinkAction action;
    if (StartsWith(upper, "HTTP:") || StartsWith(upper, "MAILTO:")) {
        action.Kind = TLinkActionKind::OpenAddress;
        action.Target = Win1252ToQString(link);
    }
    return action;
}

bool PerformLinkAction(const TLinkAction& action)
{
    switch (action.Kind) {
    case TLinkActionKind::LeaveToViewer:
        return false;
    case TLinkActionKind::PlaySound:
        Shell().PlaySound(action.Target);
        return true;
    case TLinkActionKind::StartProgram:
        Shell().StartProgram(action.Target, action.Arguments);
        return true;
    case TLinkActionKind::StartMediaPlayer:
        // Without the player, the desktop plays the file with whatever it
        // has for that kind of file.
        if (!Shell().StartProgram(MediaPlayerProgram, action.Arguments) && FileSystem().FileExists(action.Target))
            Shell().OpenAddress(FileSystem().NativePath(action.Target));
        return true;
    case TLinkActionKind::OpenAddress:
        Shell().OpenAddress(action.Target);
        return true;
    }
    return false;
}

bool DispatchLink(const std::string& link, const TExpandLinkName& expandLinkName)
{
    return PerformLinkAction(ClassifyLink(link, expandLinkName));
}
