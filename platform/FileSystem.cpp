#include "platform/FileSystem.h"

#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

TFileSystem* Installed = nullptr;

// Resolves one component in `folder`: exact case first, then the first entry
// equal without regard to case.
QString ResolveComponent(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + name))
        return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
}

bool IsRegular(const QString& nativePath)
{
    const QFileInfo info(nativePath);
    return info.exists() && info.isFile();
}

} // namespace

TFileSystem& FileSystem()
{
    static TNativeFileSystem native;
    return Installed ? *Installed : native;
}

void SetFileSystem(TFileSystem* fileSystem) { Installed = fileSystem; }

QString TNativeFileSystem::ProgramFolder() const
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString TNativeFileSystem::CurrentFolder() const { return QDir::currentPath() + QLatin1Char('/'); }

QString TNativeFileSystem::NativePath(const QString& path) const
{
    if (path.isEmpty())
        return path;
    QString full = ExpandFileName(path, CurrentFolder());
    if (full.size() >= 2 && full.at(1) == QLatin1Char(':'))
        full = full.mid(2);
    full.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!full.startsWith(QLatin1Char('/')))
        full.prepend(QLatin1Char('/'));

    QString resolved = QStringLiteral("/");
    const QStringList parts = full.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        resolved += ResolveComponent(resolved, parts.at(i));
        if (i + 1 < parts.size())
            resolved += QLatin1Char('/');
    }
    if (full.endsWith(QLatin1Char('/')) && !resolved.endsWith(QLatin1Char('/')))
        resolved += QLatin1Char('/');
    return resolved;
}

bool TNativeFileSystem::FileExists(const QString& path) const
{
    return !path.isEmpty() && IsRegular(NativePath(path));
}

std::optional<qint64> TNativeFileSystem::FileSize(const QString& path) const
{
    const QString native = NativePath(path);
    if (path.isEmpty() || !IsRegular(native))
        return std::nullopt;
    return QFileInfo(native).size();
}

bool TNativeFileSystem::ReadFile(const QString& path, QByteArray& data, qint64 maxBytes) const
{
    const QString native = NativePath(path);
    if (path.isEmpty() || !IsRegular(native))
        return false;
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (maxBytes >= 0 && file.size() > maxBytes)
        return false;
    data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

TMemoryFileSystem::TMemoryFileSystem(QString programFolder)
    : FProgram(std::move(programFolder)), FCurrent(FProgram)
{
}

QString TMemoryFileSystem::Key(const QString& path) const
{
    QString full = ExpandFileName(path, FCurrent);
    if (full.size() >= 2 && full.at(1) == QLatin1Char(':'))
        full = full.mid(2);
    full.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!full.startsWith(QLatin1Char('/')))
        full.prepend(QLatin1Char('/'));
    return full.toUpper();
}

void TMemoryFileSystem::AddFile(const QString& path, const QByteArray& data) { FFiles[Key(path)] = data; }

void TMemoryFileSystem::RemoveFile(const QString& path) { FFiles.erase(Key(path)); }

bool TMemoryFileSystem::FileExists(const QString& path) const
{
    return !path.isEmpty() && FFiles.count(Key(path)) != 0;
}

std::optional<qint64> TMemoryFileSystem::FileSize(const QString& path) const
{
    const auto it = FFiles.find(Key(path));
    if (path.isEmpty() || it == FFiles.end())
        return std::nullopt;
    return it->second.size();
}

bool TMemoryFileSystem::ReadFile(const QString& path, QByteArray& data, qint64 maxBytes) const
{
    const auto it = FFiles.find(Key(path));
    if (path.isEmpty() || it == FFiles.end() || (maxBytes >= 0 && it->second.size() > maxBytes))
        return false;
    data = it->second;
    return true;
}
