// The replay program: runs corpus files through the harnesses, in every
// build configuration (with the sanitizers or without, with libFuzzer or
// without). CTest runs it over fuzz/corpus, so that every seed and every
// regression file keeps passing.
//
//   fuzz_replay CORPUS               each harness over CORPUS/<name>/
//   fuzz_replay --shared FOLDER      each subfolder of FOLDER named after a
//                                    harness, through it (exit 77: absent)
//   fuzz_replay --target NAME PATH...  files or folders through one harness
//
// A file fails when its harness throws or takes longer than the fuzzing
// time limit; a crash ends the program with the sanitizer's report, after
// the file's name was printed. Time is processor time, so that a loaded
// machine (CTest runs suites side by side) does not fail a file.

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTarget.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

std::vector<TFuzzTargetInfo>& FuzzTargets()
{
    static std::vector<TFuzzTargetInfo> targets;
    return targets;
}

namespace {

// The same limit as scripts/fuzz.sh gives libFuzzer (-timeout=5); the
// third-party files are real photographs of several megapixels, which the
// image harnesses decode twice, under the sanitizers in the CI's second
// pass, and get longer.
constexpr double MaxSecondsPerFile = 5.0;
constexpr double MaxSecondsPerSharedFile = 60.0;
constexpr int SkipExitCode = 77;

const TFuzzTargetInfo* FindTarget(const std::string& name)
{
    for (const TFuzzTargetInfo& target : FuzzTargets())
        if (name == target.Name)
            return &target;
    return nullptr;
}

// Regular files under path (itself when it is one), sorted, so that runs
// are repeatable.
std::vector<fs::path> FilesUnder(const fs::path& path)
{
    std::vector<fs::path> files;
    if (fs::is_regular_file(path)) {
        files.push_back(path);
    } else if (fs::is_directory(path)) {
        for (const auto& entry : fs::recursive_directory_iterator(path))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Runs one file; false with a message on failure.
bool ReplayFile(const TFuzzTargetInfo& target, const fs::path& file, double maxSeconds)
{
    std::printf("%s: %s\n", target.Name, file.c_str());
    std::fflush(stdout);
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(file, bytes)) {
        std::fprintf(stderr, "FAILED %s: cannot read %s\n", target.Name, file.c_str());
        return false;
    }
    const std::clock_t start = std::clock();
    try {
        // libFuzzer never passes a null pointer, even for an empty input.
        static const uint8_t empty = 0;
        target.Entry(bytes.empty() ? &empty : bytes.data(), bytes.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "FAILED %s: %s threw: %s\n", target.Name, file.c_str(), e.what());
        return false;
    } catch (...) {
        std::fprintf(stderr, "FAILED %s: %s threw a non-standard exception\n", target.Name, file.c_str());
        return false;
    }
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    if (seconds > maxSeconds) {
        std::fprintf(stderr, "FAILED %s: %s took %.1f s of processor time (limit %.0f s)\n", target.Name, file.c_str(),
                     seconds, maxSeconds);
        return false;
    }
    return true;
}

// Returns the number of failed files; files counts what was run.
int ReplayPaths(const TFuzzTargetInfo& target, const std::vector<fs::path>& paths, int& files,
                double maxSeconds = MaxSecondsPerFile)
{
    int failed = 0;
    for (const fs::path& path : paths)
        for (const fs::path& file : FilesUnder(path)) {
            ++files;
            if (!ReplayFile(target, file, maxSeconds))
                ++failed;
        }
    return failed;
}

int Summarise(int failed, int files)
{
    std::printf("%d files replayed, %d failed\n", files, failed);
    return failed == 0 ? 0 : 1;
}

// Every harness over its folder of the repository's corpus; a harness
// without seeds is an error, so that none is silently left out.
int ReplayCorpus(const fs::path& corpus)
{
    std::vector<TFuzzTargetInfo> targets = FuzzTargets();
    std::sort(targets.begin(), targets.end(),
              [](const TFuzzTargetInfo& a, const TFuzzTargetInfo& b) { return std::strcmp(a.Name, b.Name) < 0; });
    int failed = 0;
    int files = 0;
    for (const TFuzzTargetInfo& target : targets) {
        const fs::path folder = corpus / target.Name;
        const int before = files;
        failed += ReplayPaths(target, {folder}, files);
        if (files == before) {
            std::fprintf(stderr, "FAILED %s: no corpus files in %s\n", target.Name, folder.c_str());
            ++failed;
        }
    }
    return Summarise(failed, files);
}

// Third-party files: folder <name> goes through harness <name>.
int ReplayShared(const fs::path& corpus)
{
    if (!fs::is_directory(corpus)) {
        std::printf("no shared corpus at %s: skipped\n", corpus.c_str());
        return SkipExitCode;
    }
    int failed = 0;
    int files = 0;
    for (const TFuzzTargetInfo& target : FuzzTargets())
        if (fs::is_directory(corpus / target.Name))
            failed += ReplayPaths(target, {corpus / target.Name}, files, MaxSecondsPerSharedFile);
    return Summarise(failed, files);
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: fuzz_replay CORPUS\n"
                 "       fuzz_replay --shared FOLDER\n"
                 "       fuzz_replay --target NAME PATH...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    // The arguments are read before the application takes its own.
    std::vector<std::string> args(argv + 1, argv + argc);
    int appArgc = 1;
    StartFuzzApplication(appArgc, argv);

    if (args.size() == 1 && args[0].rfind("--", 0) != 0)
        return ReplayCorpus(args[0]);
    if (args.size() == 2 && args[0] == "--shared")
        return ReplayShared(args[1]);
    if (args.size() >= 3 && args[0] == "--target") {
        const TFuzzTargetInfo* target = FindTarget(args[1]);
        if (target == nullptr) {
            std::fprintf(stderr, "no harness named %s\n", args[1].c_str());
            return 2;
        }
        int files = 0;
        const int failed = ReplayPaths(*target, std::vector<fs::path>(args.begin() + 2, args.end()), files);
        return Summarise(failed, files);
    }
    return Usage();
}
