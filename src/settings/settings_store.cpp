// The load and save sequences of the settings.
#include "settings/settings_store.h"

#include <algorithm>

#include "settings/mem_ini_file.h"
#include "settings/pattern_history.h"

namespace pellimar {
namespace {

constexpr std::string_view kOptions = "Options";
constexpr std::string_view kInputFiles = "InputFiles";
constexpr std::string_view kOutputFiles = "OutputFiles";
constexpr std::string_view kViewerKey = "FFFViewer";
constexpr std::string_view kOutputFolderKey = "OutputFolder";

// A history is rewritten whole, so an emptied one leaves no section and the
// entries come back in the same order.
void WriteHistory(TIniFile& ini, std::string_view section, const std::vector<std::string>& entries)
{
    ini.EraseSection(section);
    for (const std::string& entry : entries)
        ini.WriteString(section, entry, "");
}

std::vector<const PreferenceRow*> RowsInIniOrder()
{
    std::vector<const PreferenceRow*> rows;
    for (const PreferenceRow& row : PreferenceTable())
        rows.push_back(&row);
    std::ranges::sort(rows, {}, &PreferenceRow::iniOrder);
    return rows;
}

// A file that cannot be read leaves the history as it was.
void LoadHistoryFile(const std::string& path, std::vector<std::string>& history)
{
    if (auto entries = LoadPatternHistory(path))
        history = std::move(*entries);
}

}  // namespace

std::string LevelSectionName(int level)
{
    std::string name = "L";
    return name.append(std::to_string(level));
}

void ReadIniSettings(const TIniFile& ini, SettingsData& data)
{
    for (int level = 1; level <= kLevelCount; ++level)
        ini.ReadSection(LevelSectionName(level), data.levelHistories[static_cast<std::size_t>(level - 1)]);
    for (const PreferenceRow& row : PreferenceTable()) {
        const bool stored = ini.ReadBool(kOptions, row.iniKey, row.byDefault != row.iniInverted);
        data.preferences.Set(row.preference, stored != row.iniInverted);
    }
    data.viewerPath = ini.ReadString(kOptions, kViewerKey, "");
    data.outputFolder = ini.ReadString(kOptions, kOutputFolderKey, "");
    ini.ReadSection(kInputFiles, data.inputHistory);
    ini.ReadSection(kOutputFiles, data.outputHistory);
}

void WriteIniSettings(TIniFile& ini, const SettingsData& data)
{
    for (int level = 1; level <= kLevelCount; ++level)
        WriteHistory(ini, LevelSectionName(level), data.levelHistories[static_cast<std::size_t>(level - 1)]);
    for (const PreferenceRow* row : RowsInIniOrder())
        ini.WriteBool(kOptions, row->iniKey, data.preferences.On(row->preference) != row->iniInverted);
    // Not written until a collection has chosen one, so that a first save
    // adds no key.
    if (!data.outputFolder.empty())
        ini.WriteString(kOptions, kOutputFolderKey, data.outputFolder);
    WriteHistory(ini, kInputFiles, data.inputHistory);
    WriteHistory(ini, kOutputFiles, data.outputHistory);
}

SettingsData LoadSettings(const SettingsPaths& paths)
{
    SettingsData data;
    {
        const TMyIniFile ini(FileToRead(paths, &SettingsFiles::iniFile));
        ReadIniSettings(ini, data);
    }
    LoadHistoryFile(FileToRead(paths, &SettingsFiles::pagePatterns), data.pagePatternHistory);
    LoadHistoryFile(FileToRead(paths, &SettingsFiles::refPatterns), data.refPatternHistory);
    return data;
}

// A settings file taken over lends its text, so that what the save does not
// write itself (the viewer, lines written by hand) moves along with it.
void SaveSettings(const SettingsPaths& paths, const SettingsData& data)
{
    {
        MemIniFile ini(paths.iniFile, FileToRead(paths, &SettingsFiles::iniFile));
        WriteIniSettings(ini, data);
        ini.UpdateFile();
    }
    SavePatternHistory(paths.refPatterns, data.refPatternHistory);
    SavePatternHistory(paths.pagePatterns, data.pagePatternHistory);
}

void SaveViewerPath(const SettingsPaths& paths, std::string_view viewerPath)
{
    MemIniFile ini(paths.iniFile, FileToRead(paths, &SettingsFiles::iniFile));
    ini.WriteString(kOptions, kViewerKey, viewerPath);
    ini.UpdateFile();
}

}  // namespace pellimar
