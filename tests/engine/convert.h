// Runs a conversion over bytes in a temporary file and returns the output.
#pragma once

#include <string>

#include "engine/conversion.h"
#include "engine/scripted_host.h"
#include "streams/byte_scan.h"
#include "support/temp_dir.h"

namespace pellimar::testing {

struct Converted {
    std::string output;
    RunResult result;
    LevelLists levels;
};

inline Converted Convert(const std::string& input, RunSettings settings, ScriptedHost& host)
{
    TempDir dir;
    settings.inputPath = dir.File("in.fff");
    settings.outputPath = dir.File("out.fff");
    WriteFileBytes(settings.inputPath, input);
    Converted converted;
    converted.result = RunConversion(settings, host, converted.levels);
    // What a cancelled run wrote, kept under the output's name.
    if (converted.result.partialOutput)
        converted.result.partialOutput->PutInPlace();
    converted.output = ReadFileBytes(settings.outputPath);
    return converted;
}

inline Converted Convert(const std::string& input, const RunSettings& settings)
{
    ScriptedHost host;
    return Convert(input, settings, host);
}

// Text around a case that puts it in the middle of a run of 100,000 bytes,
// a whole percent from the progress points on either side, so that one
// block holds it; the same text goes around what it becomes.
struct MidPercent {
    explicit MidPercent(const std::string& input) : after(kTotal - before.size() - input.size(), 'y') {}
    std::string Around(const std::string& text) const { return before + text + after; }

    static constexpr std::size_t kTotal = 100000;
    std::string before = std::string(50498, 'x') + "\r\n";
    std::string after;
};

// While one lives, the 16-byte scans are used: a processor with wide scans
// passes them by, and they are made to agree too.
struct SixteenByteScans {
    SixteenByteScans() { TurnOffWideScans(true); }
    ~SixteenByteScans() { TurnOffWideScans(false); }
    SixteenByteScans(const SixteenByteScans&) = delete;
    SixteenByteScans& operator=(const SixteenByteScans&) = delete;
};

}  // namespace pellimar::testing
