#pragma once
// Pure string operations on the program's Windows-form paths: both '\' and
// '/' separate components, "X:" is a drive prefix, case does not matter.

#include <QString>

bool IsPathSeparator(QChar c);
// Up to and including the last separator (or drive colon); "" when none.
QString ExtractFilePath(const QString& path);
// After the last separator (or drive colon).
QString ExtractFileName(const QString& path);
// From the last '.' of the file name, dot included; "" when none.
QString ExtractFileExt(const QString& path);
QString IncludeTrailingSeparator(const QString& path);
// True for "C:..." and for paths starting with a separator.
bool IsAbsolutePath(const QString& path);
// A relative path taken from `base` (a folder), "." and ".." folded; the
// result keeps the base's separators and uses '\' for the joined part.
QString ExpandFileName(const QString& path, const QString& base);
