#pragma once
// The one boundary between the program's Windows-form paths and the host's
// files. Everything that tests for, reads or locates a file goes through the
// installed TFileSystem; tests install TMemoryFileSystem.

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

class TFileSystem {
public:
    virtual ~TFileSystem() = default;
    // The program's folder, ending with a separator.
    virtual QString ProgramFolder() const = 0;
    // The folder relative paths are taken from.
    virtual QString CurrentFolder() const = 0;
    // Regular files only: folders, devices and pipes do not count.
    virtual bool FileExists(const QString& path) const = 0;
    virtual std::optional<qint64> FileSize(const QString& path) const = 0;
    // Reads the whole regular file; false when it is missing, unreadable or
    // longer than maxBytes (when maxBytes >= 0).
    virtual bool ReadFile(const QString& path, QByteArray& data, qint64 maxBytes = -1) const = 0;
    // The host path a program path stands for (it may not exist).
    virtual QString NativePath(const QString& path) const = 0;
};

TFileSystem& FileSystem();
// Installs a file system (not owned); nullptr restores the host's.
void SetFileSystem(TFileSystem* fileSystem);

// The host's files. Both separators are accepted, a drive prefix maps to the
// root, and a component missing with its exact case is looked up without
// regard to case in its folder.
class TNativeFileSystem : public TFileSystem {
public:
    QString ProgramFolder() const override;
    QString CurrentFolder() const override;
    bool FileExists(const QString& path) const override;
    std::optional<qint64> FileSize(const QString& path) const override;
    bool ReadFile(const QString& path, QByteArray& data, qint64 maxBytes = -1) const override;
    QString NativePath(const QString& path) const override;
};

// Files held in memory, keyed by path without regard to case or separator.
class TMemoryFileSystem : public TFileSystem {
public:
    explicit TMemoryFileSystem(QString programFolder = QStringLiteral("C:\\Korvalith\\"));
    void AddFile(const QString& path, const QByteArray& data);
    void RemoveFile(const QString& path);
    void SetCurrentFolder(const QString& folder) { FCurrent = folder; }

    QString ProgramFolder() const override { return FProgram; }
    QString CurrentFolder() const override { return FCurrent; }
    bool FileExists(const QString& path) const override;
    std::optional<qint64> FileSize(const QString& path) const override;
    bool ReadFile(const QString& path, QByteArray& data, qint64 maxBytes = -1) const override;
    QString NativePath(const QString& path) const override { return Key(path); }

private:
    QString Key(const QString& path) const;
    QString FProgram;
    QString FCurrent;
    std::map<QString, QByteArray> FFiles;
};
