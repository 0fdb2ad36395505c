// The fixture of the settings store tests: a folder for the three files
// and sample settings with a change in each.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/settings_paths.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace pellimar::testing {

class SettingsStoreTest : public ::testing::Test {
protected:
    static SettingsData Sample()
    {
        SettingsData data;
        data.levelHistories[0] = {"Volume", "Book"};
        data.levelHistories[6] = {"Verse"};
        data.inputHistory = {"/data/new.fff", "/data/old.fff"};
        data.outputHistory = {"/data/out.fff"};
        data.pagePatternHistory = {"[#]", "", "p. #"};
        data.refPatternHistory = {"1 2:#"};
        data.preferences.Set(Preference::NotSearched, true);
        data.preferences.Set(Preference::ShowProgMeter, false);
        data.preferences.Set(Preference::UseHR, true);
        data.preferences.Set(Preference::IdRecords, true);
        data.preferences.Set(Preference::ReplaceReferences, true);
        return data;
    }

    // Sample() with a change in each of the three files.
    static SettingsData Changed()
    {
        SettingsData data = Sample();
        data.levelHistories[3] = {"Chapter"};
        data.pagePatternHistory = {"p#"};
        data.refPatternHistory = {"2:#"};
        return data;
    }

    // The lines of the [Options] section that a save writes for the
    // preferences: each key in the order of `iniOrder`, an inverted one
    // holding the opposite of its preference.
    static std::string PreferenceLines(const Preferences& preferences)
    {
        std::vector<const PreferenceRow*> rows;
        for (const PreferenceRow& row : PreferenceTable())
            rows.push_back(&row);
        std::ranges::sort(rows, {}, &PreferenceRow::iniOrder);
        std::string lines;
        for (const PreferenceRow* row : rows) {
            const bool stored = preferences.On(row->preference) != row->iniInverted;
            lines += std::string(row->iniKey) + (stored ? "=1\r\n" : "=0\r\n");
        }
        return lines;
    }

    std::string Ini() const { return ReadFileBytes(paths.iniFile); }
    // In the order in which a save writes them.
    std::vector<std::string> Files() const { return {paths.iniFile, paths.refPatterns, paths.pagePatterns}; }
    std::vector<std::string> Contents() const
    {
        std::vector<std::string> contents;
        for (const std::string& file : Files())
            contents.push_back(ReadFileBytes(file));
        return contents;
    }

    TempDir dir;
    SettingsPaths paths = SettingsPathsIn(dir.Path(), "/usr/bin/Pellimar");
};

}  // namespace pellimar::testing
