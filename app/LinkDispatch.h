#pragma once
// What a click on a link of a tutorial page does, decided apart from the
// page window so that the rules can be tested and fuzzed without one.
//
// A link is a local file when it has no colon past a drive letter, or when
// it uses the file scheme. Sounds are played, programs started with their
// parameters as separate arguments, media files handed to the media player;
// anything else local is left to the viewer (pages, anchors, images). A link
// with a scheme is handed to the desktop only when it is a web or mail
// address: it must begin with "http:" or "mailto:".

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

enum class TLinkActionKind { LeaveToViewer, PlaySound, StartProgram, StartMediaPlayer, OpenAddress };

struct TLinkAction {
    TLinkActionKind Kind = TLinkActionKind::LeaveToViewer;
    // The expanded local file, or the address as written.
    QString Target;
    // The program's parameters, one argument each.
    QStringList Arguments;
};

// The viewer's ExpandLinkName: a link name made a full path.
using TExpandLinkName = std::function<QString(const std::string& name)>;

// Local link texts are looked at up to this many characters, and so are the
// parameters after the name.
constexpr size_t MaxLinkLength = 255;

// The outside program that plays ".MID" and ".AVI" files, and the switches
// that make it play the file and close when done.
inline const QString MediaPlayerProgram = QStringLiteral("MPlayer.exe");
inline const QStringList MediaPlayerSwitches = { QStringLiteral("/play"), QStringLiteral("/close") };

// Decides what the link text (Windows-1252) does; starts nothing.
TLinkAction ClassifyLink(const std::string& link, const TExpandLinkName& expandLinkName);

// Carries the action out through the Shell layer. Returns whether the link
// was handled here (false: the viewer follows it). Failures to start or play
// are not reported, except that a media player that cannot be started makes
// the desktop open the file with its default handler instead.
bool PerformLinkAction(const TLinkAction& action);

// The page window's link dispatch: ClassifyLink, then PerformLinkAction.
bool DispatchLink(const std::string& link, const TExpandLinkName& expandLinkName);
