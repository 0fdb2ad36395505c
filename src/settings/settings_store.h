// Loading and saving the settings: the INI file's sections and the two
// pattern history files, in a fixed order of file operations.
#pragma once

#include <string>
#include <string_view>

#include "settings/ini_file.h"
#include "settings/settings_data.h"
#include "settings/settings_paths.h"

namespace pellimar {

// The section of level n (1 to 7): "L" followed by n in decimal.
std::string LevelSectionName(int level);

// The whole load, run when the window is first shown, from the files that
// hold the settings now (FileToRead). Missing keys and files give the
// defaults; a pattern file that cannot be read is ignored.
SettingsData LoadSettings(const SettingsPaths& paths);

// The whole save, run when the window closes: the INI file first, then
// "patterns.ref", then "patterns.pag", each written once. The first failure ends the save with
// its error ("Unable to write to %s" or "Cannot create file %s"); the
// files of later steps are not written.
void SaveSettings(const SettingsPaths& paths, const SettingsData& data);

// Writes the viewer path at once, as when the user sets it: one write.
void SaveViewerPath(const SettingsPaths& paths, std::string_view viewerPath);

// The INI parts of the load and the save through a settings-file object: level
// histories, options and switches, viewer path, input and output histories.
// The save leaves the viewer path alone.
void ReadIniSettings(const TIniFile& ini, SettingsData& data);
void WriteIniSettings(TIniFile& ini, const SettingsData& data);

}  // namespace pellimar
