#pragma once
// The page window's answers to what a tutorial page asks of it while it is
// read: the text of include directives (today's date, the time, the bytes of
// a file) and the delay of a timed redirection.

#include <QByteArray>
#include <QString>

#include <optional>

class TStringList;

// The longest date or time text inserted.
constexpr int MaxDateTimeLength = 255;
// The largest file an include directive inserts.
constexpr qint64 MaxIncludeFileSize = 16 * 1024 * 1024;

enum class TIncludeCommand { Date, Time, Include, Other };

// The command word of a directive, compared without regard to case.
TIncludeCommand IncludeCommandOf(const QString& command);

// Today's date in the system's short format, or the time now in its long
// format, in Windows-1252 and cut to MaxDateTimeLength bytes.
QByteArray DateText();
QByteArray TimeText();

// The file an "Include" directive names: its first parameter line must
// contain FILE=" somewhere; the name runs from the seventh character of the
// line to the next double quote (or the end, at most 255 characters).
// Empty when there is no such line.
QString IncludedFileName(const TStringList& params);

// Reads the file named by an include into `contents`. The name is taken as
// written, relative names from the current folder. Only a regular file of
// at most MaxIncludeFileSize bytes is read; false otherwise.
bool ReadIncludedFile(const QString& name, QByteArray& contents);

// The timer interval for a refresh after `delaySeconds`: empty when the
// delay is not positive or its milliseconds do not fit a signed 32-bit
// integer.
std::optional<int> RefreshIntervalMs(long long delaySeconds);
