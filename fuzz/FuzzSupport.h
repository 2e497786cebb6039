#pragma once
// What every harness needs around the engine: one application on Qt's
// off-screen platform (no display), and the platform doubles installed, so
// that an input never reaches a message box, a file or a program: only the
// bytes of the input are read.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class TMemoryFileSystem;
class TRecordingDialogs;
class TRecordingShell;

// Creates the application and installs the doubles, once per process.
void StartFuzzApplication(int& argc, char** argv);

// The doubles; ResetFuzzDoubles forgets what they recorded for the last
// input, so that memory stays flat over millions of runs.
TRecordingDialogs& FuzzDialogs();
TRecordingShell& FuzzShell();
TMemoryFileSystem& FuzzFileSystem();
void ResetFuzzDoubles();

// The input as an owned byte array (decoders may keep it).
QByteArray FuzzBytes(const uint8_t* data, size_t size);

// Splits an input into parts at each occurrence of separator; a structured
// harness reads its fields from the parts. Views into the input.
std::vector<std::string_view> SplitFuzzInput(const uint8_t* data, size_t size, std::string_view separator);
