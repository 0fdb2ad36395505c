// What the INI fuzz target observes of a settings file: the keys and values
// that a fixed set of section and key names reads, and how one operation may
// change them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/ini_file.h"
#include "settings/settings_data.h"

namespace pellimar::fuzz {

struct Names {
    std::vector<std::string> sections;
    std::vector<std::string> keys;
    bool operator==(const Names&) const = default;
};

// The program's sections, in two letter cases, and two of its keys.
Names StandardNames();

struct IniSnapshot {
    Names names;
    std::vector<std::vector<std::string>> keys;                  // per section: ReadSection
    std::vector<std::vector<std::optional<std::string>>> values;  // per section and key
    bool operator==(const IniSnapshot&) const = default;
};

// The value, or nothing when the key or the section is missing.
std::optional<std::string> ReadValue(const TIniFile& ini, const std::string& section, const std::string& key);

IniSnapshot TakeSnapshot(const TIniFile& ini, const Names& names);

// The file's own read operations give what the snapshot holds.
void ExpectFileReadsMatch(const TIniFile& ini, const IniSnapshot& snapshot);

// After a write of `key` in `section`: that key (appended to the section's
// keys when it was new) may differ, nothing else.
void ExpectOnlyKeyChanged(const IniSnapshot& before, const IniSnapshot& after, const std::string& section,
                          const std::string& key);

// After erasing `section`: it reads as missing, every other section as before.
void ExpectOnlySectionErased(const IniSnapshot& before, const IniSnapshot& after, const std::string& section);

// The settings as a save writes them: a history entry that repeats an
// earlier one, in any letter case, is one key of the section.
SettingsData WithoutRepeatedEntries(SettingsData data);

}  // namespace pellimar::fuzz
