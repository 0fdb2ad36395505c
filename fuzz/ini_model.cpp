// Snapshots of an INI file and the changes one operation may make.
#include "ini_model.h"

#include <algorithm>
#include <filesystem>

#include "check.h"
#include "scratch_dir.h"
#include "settings/ini_text.h"

namespace pellimar::fuzz {
namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Lower(x) == Lower(y);
           });
}

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); });
}

std::vector<std::string> WithoutRepeats(const std::vector<std::string>& entries)
{
    std::vector<std::string> kept;
    for (const std::string& entry : entries) {
        if (!Contains(kept, entry))
            kept.push_back(entry);
    }
    return kept;
}

std::string Where(const IniSnapshot& snapshot, std::size_t section, std::size_t key)
{
    return "[" + Show(snapshot.names.sections[section]) + "] " + Show(snapshot.names.keys[key]);
}

std::string ValueShown(const std::optional<std::string>& value)
{
    return value ? Show(*value) : "<missing>";
}

}  // namespace

Names StandardNames()
{
    return {{"L1", "l7", "Options", "OPTIONS", "InputFiles", "outputfiles"}, {"Search", "FFFViewer"}};
}

std::optional<std::string> ReadValue(const TIniFile& ini, const std::string& section, const std::string& key)
{
    // A stored value is never longer than the file, so a longer default
    // tells a missing key from any stored value.
    std::error_code error;
    const auto fileSize = std::filesystem::file_size(ini.FileName(), error);
    const std::string missing((error ? 0 : fileSize) + 1, '?');
    std::string value = ini.ReadString(section, key, missing);
    if (value == missing)
        return std::nullopt;
    return value;
}

IniSnapshot TakeSnapshot(const TIniFile& ini, const Names& names)
{
    // One read of the file for the whole snapshot; the same text is what
    // every profile operation parses.
    const IniText text(ReadScratchFile(ini.FileName()));
    IniSnapshot snapshot{names, {}, {}};
    for (const std::string& section : names.sections) {
        const std::vector<std::string> keys = text.Keys(section);
        for (const std::string& key : keys)
            FUZZ_CHECK(text.Value(section, key).has_value(), "a listed key can be read");
        snapshot.keys.push_back(keys);
        std::vector<std::optional<std::string>> values;
        for (const std::string& key : names.keys)
            values.push_back(text.Value(section, key));
        snapshot.values.push_back(values);
    }
    return snapshot;
}

void ExpectFileReadsMatch(const TIniFile& ini, const IniSnapshot& snapshot)
{
    for (std::size_t s = 0; s < snapshot.names.sections.size(); ++s) {
        const std::string& section = snapshot.names.sections[s];
        std::vector<std::string> keys{"<stale>"};
        ini.ReadSection(section, keys);
        FUZZ_CHECK_EQ(snapshot.keys[s], keys, "keys of [" + section + "]");
        for (std::size_t k = 0; k < snapshot.names.keys.size(); ++k) {
            const auto value = ReadValue(ini, section, snapshot.names.keys[k]);
            FUZZ_CHECK_EQ(ValueShown(snapshot.values[s][k]), ValueShown(value), "value of " + Where(snapshot, s, k));
        }
    }
}

void ExpectOnlyKeyChanged(const IniSnapshot& before, const IniSnapshot& after, const std::string& section,
                          const std::string& key)
{
    for (std::size_t s = 0; s < before.names.sections.size(); ++s) {
        const bool written = SameName(before.names.sections[s], section);
        std::vector<std::string> keys = before.keys[s];
        if (written && !Contains(keys, key))
            keys.push_back(key);
        FUZZ_CHECK_EQ(keys, after.keys[s], "keys of [" + before.names.sections[s] + "] after a write");
        for (std::size_t k = 0; k < before.names.keys.size(); ++k) {
            if (written && SameName(before.names.keys[k], key))
                continue;
            FUZZ_CHECK_EQ(ValueShown(before.values[s][k]), ValueShown(after.values[s][k]),
                          "value of " + Where(before, s, k) + " after writing " + Show(key));
        }
    }
}

void ExpectOnlySectionErased(const IniSnapshot& before, const IniSnapshot& after, const std::string& section)
{
    for (std::size_t s = 0; s < before.names.sections.size(); ++s) {
        const bool erased = SameName(before.names.sections[s], section);
        FUZZ_CHECK_EQ(erased ? std::vector<std::string>{} : before.keys[s], after.keys[s],
                      "keys of [" + before.names.sections[s] + "] after erasing [" + section + "]");
        for (std::size_t k = 0; k < before.names.keys.size(); ++k) {
            const auto expected = erased ? std::nullopt : before.values[s][k];
            FUZZ_CHECK_EQ(ValueShown(expected), ValueShown(after.values[s][k]),
                          "value of " + Where(before, s, k) + " after erasing [" + section + "]");
        }
    }
}

SettingsData WithoutRepeatedEntries(SettingsData data)
{
    for (auto& history : data.levelHistories)
        history = WithoutRepeats(history);
    data.inputHistory = WithoutRepeats(data.inputHistory);
    data.outputHistory = WithoutRepeats(data.outputHistory);
    return data;
}

}  // namespace pellimar::fuzz
