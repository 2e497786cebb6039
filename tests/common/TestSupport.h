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

// True in builds with AddressSanitizer, which run several times slower:
// timing checks either widen their limits there or do not apply.
constexpr bool SanitizedBuild()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

inline QString TestDataPath(const QString& relative)
{
    return QStringLiteral(KORVALITH_TEST_DATA "/") + relative;
}

// ../shared/corpus when present; empty otherwise (tests that need it skip).
QString CorpusFolder();

// Runs `action` on the next modal widget that appears (a message box or a
// dialog), from the event loop, so that a test can answer it.
void WhenModalAppears(std::function<void(QWidget*)> action, int timeoutMs = 5000);
