#include "platform/Paths.h"

#include <QStringList>

bool IsPathSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

namespace {

bool HasDrive(const QString& path)
{
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter();
}

int LastDelimiter(const QString& path)
{
    for (int i = path.size() - 1; i >= 0; --i)
        if (IsPathSeparator(path.at(i)) || (i == 1 && HasDrive(path)))
            return i;
    return -1;
}

} // namespace

QString ExtractFilePath(const QString& path) { return path.left(LastDelimiter(path) + 1); }

QString ExtractFileName(const QString& path) { return path.mid(LastDelimiter(path) + 1); }

QString ExtractFileExt(const QString& path)
{
    const QString name = ExtractFileName(path);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString IncludeTrailingSeparator(const QString& path)
{
    if (path.isEmpty() || IsPathSeparator(path.back()))
        return path;
    return path + QLatin1Char('\\');
}

bool IsAbsolutePath(const QString& path)
{
    return HasDrive(path) || (!path.isEmpty() && IsPathSeparator(path.at(0)));
}

QString ExpandFileName(const QString& path, const QString& base)
{
    QString full = IsAbsolutePath(path) ? path : IncludeTrailingSeparator(base) + path;
    // Split off the root ("C:\", "/" or nothing), fold the components.
    QString root;
    int start = 0;
    if (HasDrive(full)) {
        start = 2;
        root = full.left(2);
    }
    if (start < full.size() && IsPathSeparator(full.at(start))) {
        root += full.at(start);
        ++start;
    }
    const bool trailing = !full.isEmpty() && IsPathSeparator(full.back());
    QStringList parts;
    QString current;
    auto flush = [&]() {
        if (current == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (!current.isEmpty() && current != QLatin1String(".")) {
            parts.append(current);
        }
        current.clear();
    };
    for (int i = start; i < full.size(); ++i) {
        if (IsPathSeparator(full.at(i)))
            flush();
        else
            current += full.at(i);
    }
    flush();
    const QChar separator = root.isEmpty() ? QLatin1Char('\\') : root.back() == QLatin1Char('/') ? QLatin1Char('/') : QLatin1Char('\\');
    QString result = root + parts.join(separator);
    if (trailing && !parts.isEmpty())
        result += separator;
    return result;
}
