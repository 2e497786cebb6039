#include "app/PageDirectives.h"

#include "html/HtmlSupport.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/StringList.h"

#include <QDateTime>
#include <QLocale>

#include <limits>

namespace {

QByteArray Win1252Bytes(const QString& text)
{
    const std::string bytes = QStringToWin1252(text);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).left(MaxDateTimeLength);
}

} // namespace

TIncludeCommand IncludeCommandOf(const QString& command)
{
    if (command.compare(QLatin1String("Date"), Qt::CaseInsensitive) == 0)
        return TIncludeCommand::Date;
    if (command.compare(QLatin1String("Time"), Qt::CaseInsensitive) == 0)
        return TIncludeCommand::Time;
    if (command.compare(QLatin1String("Include"), Qt::CaseInsensitive) == 0)
        return TIncludeCommand::Include;
    return TIncludeCommand::Other;
}

QByteArray DateText() { return Win1252Bytes(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)); }

QByteArray TimeText() { return Win1252Bytes(QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat)); }

QString IncludedFileName(const TStringList& params)
{
    if (params.Count() == 0)
        return {};
    const QString& line = params.Strings(0);
    if (!line.contains(QLatin1String("FILE=\"")))
        return {};
    // The line reads FILE="name": the name starts after the quote.
    QString name = line.mid(6, 255);
    const qsizetype quote = name.indexOf(QLatin1Char('"'));
    if (quote >= 0)
        name.truncate(quote);
    return name;
}

bool ReadIncludedFile(const QString& name, QByteArray& contents)
{
    if (name.isEmpty())
        return false;
    const QString path = ExpandFileName(name, FileSystem().CurrentFolder());
    if (!FileSystem().FileExists(path))
        return false;
    return FileSystem().ReadFile(path, contents, MaxIncludeFileSize);
}

std::optional<int> RefreshIntervalMs(long long delaySeconds)
{
    constexpr long long MaxSeconds = std::numeric_limits<int>::max() / 1000;
    if (delaySeconds < 1 || delaySeconds > MaxSeconds)
        return std::nullopt;
    return static_cast<int>(delaySeconds * 1000);
}
