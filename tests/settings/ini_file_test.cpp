// Profile-string operations of the INI-file class on real files.
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "settings/file_io.h"
#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"
#include "write_failure.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class IniFileTest : public ::testing::Test {
protected:
    void Given(const std::string& bytes) { WriteFileBytes(path, bytes); }
    std::string Bytes() const { return ReadFileBytes(path); }
    std::vector<std::string> Section(std::string_view section) const
    {
        std::vector<std::string> keys{"left over"};
        ini.ReadSection(section, keys);
        return keys;
    }

    TempDir dir;
    std::string path = dir.File("Pellimar.INI");
    TIniFile ini{path};
};

TEST_F(IniFileTest, MissingFileReadsAsDefaultsAndIsNotCreatedByReadsOrErase)
{
    EXPECT_EQ("none", ini.ReadString("Options", "FFFViewer", "none"));
    EXPECT_EQ(-5, ini.ReadInteger("Options", "Search", -5));
    EXPECT_TRUE(ini.ReadBool("Options", "Search", true));
    EXPECT_TRUE(Section("L1").empty());
    ini.EraseSection("L1");
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(IniFileTest, NamesIgnoreCaseAndAnExistingKeyIsUpdatedInItsOwnLine)
{
    Given("[options]\r\nsearch = 0\r\n; note\r\n[Other]\r\nx=1\r\n");
    ini.WriteString("OPTIONS", "Search", "1");
    EXPECT_EQ("[options]\r\nsearch = 1\r\n; note\r\n[Other]\r\nx=1\r\n", Bytes());
    EXPECT_EQ("1", ini.ReadString("Options", "SEARCH", ""));
}

TEST_F(IniFileTest, NewKeyGoesAfterTheLastLineOfItsSectionAndNewSectionAtTheEnd)
{
    Given("[A]\na=1\n\n[B]\nb=2");
    ini.WriteString("a", "c", "3");
    ini.WriteString("B", "d", "");
    ini.WriteString("C", "e", "5");
    EXPECT_EQ("[A]\na=1\nc=3\n\n[B]\nb=2\nd=\n[C]\ne=5\n", Bytes());
}

TEST_F(IniFileTest, EraseSectionRemovesEveryCopyOfItAndNothingElse)
{
    Given("[L1]\r\nx=\r\n[Options]\r\nSearch=1\r\n[l1]\r\ny=\r\n");
    ini.EraseSection("L1");
    EXPECT_EQ("[Options]\r\nSearch=1\r\n", Bytes());
}

TEST_F(IniFileTest, ReadSectionListsEveryKeyInFileOrder)
{
    Given("x=0\r\n[L1]\r\nZeta=\r\n; comment\r\n\r\nalpha=\r\nno equals sign\r\nMid=\r\n[L2]\r\nq=\r\n");
    EXPECT_EQ((std::vector<std::string>{"Zeta", "alpha", "no equals sign", "Mid"}), Section("l1"));
}

TEST_F(IniFileTest, IntegersAreDecimalOrHexadecimalAndAnythingElseGivesTheDefault)
{
    const std::vector<std::pair<std::string, int>> cases = {
        {"12", 12},    {"-7", -7},     {"+3", 3},       {"$1F", 31},       {"0x1f", 31},
        {"0X10", 16},  {"0x0", 0},     {"-$10", -16},   {"$FFFFFFFF", -1}, {" 42 ", 42},
        {"0x", 99},    {"$", 99},      {"yes", 99},     {"", 99},          {"1.5", 99},
        {"4294967296", 99}, {"-2147483648", -2147483647 - 1}, {"2147483648", 99},
    };
    std::string text = "[N]\r\n";
    for (std::size_t i = 0; i < cases.size(); ++i)
        text += std::to_string(i) + "=" + cases[i].first + "\r\n";
    Given(text);
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(cases[i].second, ini.ReadInteger("N", std::to_string(i), 99)) << cases[i].first;
}

TEST_F(IniFileTest, HandWrittenLinesReadAsAProfileStringReaderReadsThem)
{
    Given("[Options]\r\nFFFViewer=\"C:\\new\\viewer.exe\"\r\nBlanks = \" two words \" \r\n"
          "Twice=\"\"inner\"\"\r\nOpen=\"C:\\open\r\nInside=C:\\x\\\"y\"\r\nPercent=\"%0A\"\r\nEmpty=\"\"\r\n"
          "[InputFiles]\r\n\"C:\\new\"=\r\n\"%41\"=\r\n\"a=b\"c=\r\n");
    const std::vector<std::pair<std::string, std::string>> values = {
        {"FFFViewer", "C:\\new\\viewer.exe"}, {"Blanks", " two words "}, {"Twice", "\"inner\""},
        {"Open", "\"C:\\open"}, {"Inside", "C:\\x\\\"y\""}, {"Percent", "%0A"}, {"Empty", ""},
    };
    for (const auto& [key, value] : values)
        EXPECT_EQ(value, ini.ReadString("Options", key, "missing")) << key;
    EXPECT_EQ((std::vector<std::string>{"\"C:\\new\"", "\"%41\"", "\"a"}), Section("InputFiles"));
}

// A name that a plain line would not carry is written in double quotes:
// as it is when it holds no double quote or line break and does not begin
// with "%"; otherwise "%" and the name with "%", double quote, CR and LF
// written as %25, %22, %0D and %0A. Values follow the profile-string rule,
// with the same "%" form for line breaks.
TEST_F(IniFileTest, AwkwardNamesAndValuesAreStoredSoThatTheyComeBackUnchanged)
{
    const std::vector<std::pair<std::string, std::string>> keys = {
        {"a=b", "\"a=b\"="},
        {";not a comment", "\";not a comment\"="},
        {"[not a section]", "\"[not a section]\"="},
        {" padded ", "\" padded \"="},
        {"\"quoted\"", "\"%%22quoted%22\"="},
        {"say \"a=b\"", "\"%say %22a=b%22\"="},
        {"%d=x", "\"%%25d=x\"="},
        {"two\r\nlines", "\"%two%0D%0Alines\"="},
        {"C:\\new", "C:\\new="},
        {"say \"hi\"", "say \"hi\"="},
    };
    std::vector<std::string> written;
    for (const auto& [key, stored] : keys) {
        ini.WriteString("L1", key, "");
        written.push_back(key);
        EXPECT_NE(std::string::npos, Bytes().find("\n" + stored + "\r\n")) << stored;
    }
    EXPECT_EQ(written, Section("L1"));

    const std::vector<std::pair<std::string, std::string>> values = {
        {" padded ", "\" padded \""},    {"\"quoted\"", "\"\"quoted\"\""},
        {"C:\\new\\x.exe", "C:\\new\\x.exe"}, {"line\nbreak", "\"%line%0Abreak\""},
        {"% x ", "\"%%25 x \""},          {"x=y;z", "x=y;z"},
    };
    for (const auto& [value, stored] : values) {
        ini.WriteString("Options", "FFFViewer", value);
        EXPECT_EQ(value, ini.ReadString("Options", "FFFViewer", ""));
        EXPECT_NE(std::string::npos, Bytes().find("\nFFFViewer=" + stored + "\r\n")) << stored;
    }
}

TEST_F(IniFileTest, ValueClosingTheOpenQuoteOfItsKeyLineStillReadsBack)
{
    // The key of «"k=old» is «"k» (no quote closes before an "="); kept as
    // it was, the line «"k=x " = y» would read as the key «k=x ».
    Given("[S]\r\n\"k=old\r\nnext=1\r\n");
    ini.WriteString("S", "\"k", "new\"");
    EXPECT_EQ("new\"", ini.ReadString("S", "\"k", "missing"));
    EXPECT_EQ((std::vector<std::string>{"\"k", "next"}), Section("S"));
    ini.WriteString("S", "\"K", "x \" = y");
    EXPECT_EQ("x \" = y", ini.ReadString("S", "\"k", "missing"));
    EXPECT_EQ("1", ini.ReadString("S", "next", "missing"));
}

TEST_F(IniFileTest, GarbageFileLoadsWhatItCanAndKeepsItsBytesOnWrite)
{
    std::mt19937 random(4);
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += "[]=;\"\\\r\n\0ab"[random() % 12];
    Given(garbage);
    std::vector<std::string> keys;
    for (const char* section : {"", "a", "ab", "L1", "Options"}) {
        ini.ReadSection(section, keys);
        ini.ReadBool(section, "a", false);
    }
    ini.WriteString("Options", "UseHR", "1");
    EXPECT_EQ(1, ini.ReadInteger("Options", "UseHR", 0));
    EXPECT_EQ(garbage, Bytes().substr(0, garbage.size()));
}

TEST_F(IniFileTest, OversizedFileIsReadInPartAndNeverWrittenOver)
{
    Given("[Options]\r\nUseHR=1\r\n");
    fs::resize_file(path, kMaxSettingsFileBytes + 1);  // sparse: cheap to make
    EXPECT_TRUE(ini.ReadBool("Options", "UseHR", false));
    EXPECT_THROW_MSG(ini.WriteBool("Options", "UseHR", false), Exception, "Unable to write to " + path);
    EXPECT_EQ(kMaxSettingsFileBytes + 1, fs::file_size(path));
}

TEST_F(IniFileTest, FailedWriteRaisesAndLeavesTheOldFileAndNoTemporaryFile)
{
    const std::string old = "[Options]\r\nSearch=0\r\n[L1]\r\nx=\r\n";
    Given(old);
    {
        testing::FullDisk fullDisk;
        EXPECT_THROW_MSG(ini.WriteString("Options", "Search", "1"), Exception, "Unable to write to " + path);
        EXPECT_THROW_MSG(ini.EraseSection("L1"), Exception, "Unable to write to " + path);
    }
    EXPECT_EQ(old, Bytes());
    EXPECT_EQ(1, std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()));
}

}  // namespace
}  // namespace pellimar
