// Fuzz target: the INI file under arbitrary contents and a sequence of
// profile operations. Reading never changes the file and every listed key
// can be read; a write reads back as written and leaves every other value
// alone; an erased section is gone; and the program's own settings survive
// a save and a load, written alike whether the save is composed in memory
// or written operation by operation.
//
// Input: the file's text up to a NUL, three key names each ending at a
// NUL, then operations: an operation byte, a section byte, a key byte, and
// for writes a value ending at a NUL.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check.h"
#include "fuzz_input.h"
#include "ini_model.h"
#include "scratch_dir.h"
#include "settings/ini_file.h"
#include "settings/mem_ini_file.h"
#include "settings/settings_store.h"

namespace pellimar::fuzz {
namespace {

constexpr int kMaxOperations = 24;

void CheckWrite(TIniFile& ini, const Names& names, const std::string& section, const std::string& key,
                const std::string& value)
{
    const IniSnapshot before = TakeSnapshot(ini, names);
    ini.WriteString(section, key, value);
    const IniSnapshot after = TakeSnapshot(ini, names);
    FUZZ_CHECK_EQ(value, ReadValue(ini, section, key).value_or("<missing>"),
                  "the value written to [" + section + "] " + Show(key) + " reads back");
    ExpectOnlyKeyChanged(before, after, section, key);
}

void CheckErase(TIniFile& ini, const Names& names, const std::string& section)
{
    const IniSnapshot before = TakeSnapshot(ini, names);
    ini.EraseSection(section);
    const IniSnapshot after = TakeSnapshot(ini, names);
    ExpectOnlySectionErased(before, after, section);
}

void CheckReadsAreStable(const TIniFile& ini, const Names& names)
{
    const std::string bytes = ReadScratchFile(ini.FileName());
    const IniSnapshot snapshot = TakeSnapshot(ini, names);
    ExpectFileReadsMatch(ini, snapshot);
    ExpectFileReadsMatch(ini, snapshot);
    FUZZ_CHECK_EQ(bytes, ReadScratchFile(ini.FileName()), "reading leaves the file as it was");
}

// The save as the program runs it, composed in memory and written once,
// against the same operations each written to the file at once.
void CheckSettingsRoundTrip(TIniFile& ini)
{
    SettingsData loaded;
    ReadIniSettings(ini, loaded);
    const std::string composed = ScratchFile("composed.INI");
    WriteScratchFile(composed, ReadScratchFile(ini.FileName()));
    MemIniFile once(composed);
    WriteIniSettings(once, loaded);
    once.UpdateFile();
    WriteIniSettings(ini, loaded);
    FUZZ_CHECK_EQ(ReadScratchFile(ini.FileName()), ReadScratchFile(composed),
                  "a save composed in memory writes what its operations write one by one");
    SettingsData reloaded;
    ReadIniSettings(ini, reloaded);
    FUZZ_CHECK(reloaded == WithoutRepeatedEntries(loaded), "settings read back as saved");
}

void CheckNumbers(TIniFile& ini, const std::string& section, const std::string& key, std::uint8_t seed)
{
    const std::int32_t number = static_cast<std::int32_t>(0x9E3779B9u * seed);
    ini.WriteString(section, key, std::to_string(number));
    FUZZ_CHECK_EQ(number, ini.ReadInteger(section, key, number ^ 1), "a decimal integer reads back");
    ini.WriteBool(section, key, (seed & 1) != 0);
    FUZZ_CHECK_EQ((seed & 1) != 0, ini.ReadBool(section, key, (seed & 1) == 0), "a switch reads back");
}

void RunOperation(TIniFile& ini, const Names& names, FuzzInput& input)
{
    const std::uint8_t operation = input.Byte();
    const std::string& section = names.sections[input.Below(static_cast<std::uint32_t>(names.sections.size()))];
    const std::string& key = names.keys[input.Below(static_cast<std::uint32_t>(names.keys.size()))];
    // Writes come most often; the settings round trip, which rewrites the
    // file once per history entry, least.
    switch (operation % 8) {
    case 4: CheckErase(ini, names, section); break;
    case 5: CheckReadsAreStable(ini, names); break;
    case 6: CheckNumbers(ini, section, key, input.Byte()); break;
    case 7: CheckSettingsRoundTrip(ini); break;
    default: CheckWrite(ini, names, section, key, input.Field('\0')); break;
    }
}

}  // namespace
}  // namespace pellimar::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace pellimar::fuzz;
    FuzzInput input(data, size);
    const std::string path = ScratchFile("pellimar.INI");
    WriteScratchFile(path, input.Field('\0'));
    Names names = StandardNames();
    for (int i = 0; i < 3; ++i)
        names.keys.push_back(input.Field('\0'));

    pellimar::TIniFile ini(path);
    CheckReadsAreStable(ini, names);
    for (int i = 0; i < kMaxOperations && !input.Empty(); ++i)
        RunOperation(ini, names, input);
    return 0;
}
