// settings_save_bench: times the save that closing the window runs, with nine
// histories of 100 entries each and both pattern files, into a temporary
// folder (or the folder given), and prints the best and the median of the
// runs in milliseconds.
//
//   settings_save_bench [RUNS [FOLDER]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace {

using namespace pellimar;
namespace fs = std::filesystem;

constexpr int kEntriesPerHistory = 100;

std::vector<std::string> History(const std::string& stem)
{
    std::vector<std::string> entries;
    for (int i = 0; i < kEntriesPerHistory; ++i)
        entries.push_back(stem + std::to_string(i));
    return entries;
}

SettingsData FullHistories()
{
    SettingsData data;
    for (int level = 1; level <= kLevelCount; ++level)
        data.levelHistories[static_cast<std::size_t>(level - 1)] = History("Level " + std::to_string(level) + " name ");
    data.inputHistory = History("/home/reader/texts/volume-07/chapter-");
    data.outputHistory = History("/home/reader/texts/out/chapter-ref-");
    data.pagePatternHistory = History("[#] p.");
    data.refPatternHistory = History("1 2:# ");
    data.preferences.Set(Preference::NotSearched, true);
    return data;
}

double SaveMilliseconds(const SettingsPaths& paths, const SettingsData& data)
{
    const auto start = std::chrono::steady_clock::now();
    SaveSettings(paths, data);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

fs::path FreshFolder(const char* given)
{
    if (given != nullptr)
        return given;
    std::string pattern = (fs::temp_directory_path() / "pellimar-save-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path folder = FreshFolder(argc > 2 ? argv[2] : nullptr);
    if (folder.empty()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const SettingsPaths paths = SettingsPathsIn(folder, "pellimar");
    const SettingsData data = FullHistories();

    // The first save creates the files; the timed ones replace them, as every
    // later close does.
    SaveSettings(paths, data);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(SaveMilliseconds(paths, data));
    std::sort(times.begin(), times.end());
    std::printf("save of 9 x %d entries and both pattern files: best %.1f ms, median %.1f ms (%d runs)\n",
                kEntriesPerHistory, times.front(), times[times.size() / 2], runs);

    if (argc <= 2)
        fs::remove_all(folder);
    return 0;
}
