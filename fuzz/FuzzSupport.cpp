#include "fuzz/FuzzSupport.h"

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

#include <cstdlib>
#include <vector>

namespace {

struct TFuzzPlatform {
    TRecordingDialogs Dialogs;
    TRecordingShell Shell;
    TMemoryFileSystem Files;
};

TFuzzPlatform& Platform()
{
    static TFuzzPlatform platform;
    return platform;
}

}  // namespace

void StartFuzzApplication(int& argc, char** argv)
{
    // Never destroyed: the libraries' own globals may go first at exit.
    static TApplication* application = nullptr;
    if (application != nullptr)
        return;
    // Pictures are painted into images: no window is ever shown, so the
    // harnesses need no X display, whatever the environment says.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application = new TApplication(argc, argv);
    SetDialogs(&Platform().Dialogs);
    SetShell(&Platform().Shell);
    SetFileSystem(&Platform().Files);
}

TRecordingDialogs& FuzzDialogs() { return Platform().Dialogs; }
TRecordingShell& FuzzShell() { return Platform().Shell; }
TMemoryFileSystem& FuzzFileSystem() { return Platform().Files; }

void ResetFuzzDoubles()
{
    Platform().Dialogs.Shown.clear();
    Platform().Shell.Requests.clear();
}

QByteArray FuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

std::vector<std::string_view> SplitFuzzInput(const uint8_t* data, size_t size, std::string_view separator)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

#if !defined(KORVALITH_FUZZ_REPLAY)
// libFuzzer calls this once before the first input.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(*argc, *argv);
    return 0;
}
#endif
