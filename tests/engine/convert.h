// Runs a conversion over bytes in a temporary file and returns the output.
#pragma once

#include <string>

#include "engine/conversion.h"
#include "engine/scripted_host.h"
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

}  // namespace pellimar::testing
