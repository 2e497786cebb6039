#pragma once
// How a harness is written: once, as
//
//     KORVALITH_FUZZ_TARGET(gif)(const uint8_t* data, size_t size)
//     {
//         ...
//         return 0;
//     }
//
// and compiled two ways. Alone, it is libFuzzer's entry point of the program
// fuzz_gif. With KORVALITH_FUZZ_REPLAY, every harness goes into the one
// replay program, which finds each by its name in a registry and runs the
// files of corpus/<name>/ through it.

#include <cstddef>
#include <cstdint>
#include <vector>

using TFuzzEntry = int (*)(const uint8_t* data, size_t size);

struct TFuzzTargetInfo {
    const char* Name;
    TFuzzEntry Entry;
};

// The harnesses linked into the replay program, in no particular order.
std::vector<TFuzzTargetInfo>& FuzzTargets();

struct TFuzzRegistration {
    TFuzzRegistration(const char* name, TFuzzEntry entry) { FuzzTargets().push_back({name, entry}); }
};

#if defined(KORVALITH_FUZZ_REPLAY)
#define KORVALITH_FUZZ_TARGET(name)                                                          \
    static int FuzzOne_##name(const uint8_t* data, size_t size);                             \
    static const TFuzzRegistration FuzzRegistration_##name(#name, &FuzzOne_##name);          \
    static int FuzzOne_##name
#else
#define KORVALITH_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput
#endif
