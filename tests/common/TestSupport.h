#pragma once
// Helpers shared by the test suites: scoped installation of the platform
// doubles, and the test data folders.

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/GL.h"
#include "platform/Shell.h"

#include <QString>
#include <QWidget>

#include <functional>

// Installs a double for the lifetime of the guard.
template <class T, void (*Install)(T*)>
class TScopedDouble {
public:
    template <class D>
    explicit TScopedDouble(D& replacement) { Install(&replacement); }
    ~TScopedDouble() { Install(nullptr); }
    TScopedDouble(const TScopedDouble&) = delete;
    TScopedDouble& operator=(const TScopedDouble&) = delete;
};

using TScopedDialogs = TScopedDouble<TDialogs, &SetDialogs>;
using TScopedShell = TScopedDouble<TShell, &SetShell>;
using TScopedFileSystem = TScopedDouble<TFileSystem, &SetFileSystem>;
using TScopedGL = TScopedDouble<TGLGateway, &SetGL>;

inline QString TestDataPath(const QString& relative)
{
    return QStringLiteral(KORVALITH_TEST_DATA "/") + relative;
}

// ../shared/corpus when present; empty otherwise (tests that need it skip).
QString CorpusFolder();

// Runs `action` on the next modal widget that appears (a message box or a
// dialog), from the event loop, so that a test can answer it.
void WhenModalAppears(std::function<void(QWidget*)> action, int timeoutMs = 5000);
