// Foreseeing an output, as OutputFile would find it.
#include "streams/output_forecast.h"

#include <filesystem>
#include <system_error>

#include "streams/file_names.h"
#include "streams/file_replacement.h"
#include "streams/native_file.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// What stands under the name, links followed: the steps OutputFile takes
// before it holds the file.
OutputForecast WhatStandsThere(const std::string& path, std::string& target)
{
    OutputForecast forecast;
    const std::optional<fs::path> followed = FollowLinks(PathOfName(path), &forecast.refusal);
    if (!followed)
        return forecast;
    target = NameOfPath(*followed);
    std::error_code error;
    const fs::file_status status = fs::status(*followed, error);
    if (DeviceOfName(path) || fs::is_character_file(status) || fs::is_fifo(status))
        forecast.device = true;
    else if (fs::is_directory(status))
        forecast.refusal = "it is a folder";
    else if (fs::exists(status) && !fs::is_regular_file(status))
        forecast.refusal = "it is not a regular file";
    else
        forecast.replacesFile = fs::exists(status);
    return forecast;
}

}  // namespace

OutputForecast ForecastOutput(const std::string& path)
{
    std::string target;
    OutputForecast forecast = WhatStandsThere(path, target);
    if (!forecast.refusal.empty() || forecast.device)
        return forecast;
    if (forecast.replacesFile) {
        forecast.refusal = WhyNotWritable(target);
        if (!forecast.refusal.empty())
            return forecast;
    }
    ReplacementOutlook outlook = FileReplacement::Foresee(target, forecast.replacesFile);
    switch (outlook.start) {
    case ReplacementStart::Ready: forecast.notKept = std::move(outlook.notKept); break;
    case ReplacementStart::FolderRefuses:
        forecast.whyInPlace = std::move(outlook.reason);
        if (!forecast.replacesFile)
            forecast.refusal = std::move(outlook.refusedBySystem);
        break;
    case ReplacementStart::Failed: forecast.refusal = std::move(outlook.reason); break;
    }
    return forecast;
}

}  // namespace pellimar
