// The in-memory INI file against the file's own operations.
#include "settings/mem_ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

TEST(MemIniFileTest, SameOperationsGiveTheSameFileButOnlyAtUpdateFile)
{
    testing::TempDir dir;
    const std::string start = "; kept\r\n[A]\r\nk = 1\r\n\r\n[B]\r\nx=\r\n[b]\r\ny=\r\n";
    WriteFileBytes(dir.File("each.INI"), start);
    WriteFileBytes(dir.File("once.INI"), start);
    TIniFile each(dir.File("each.INI"));
    MemIniFile once(dir.File("once.INI"));
    for (TIniFile* ini : {&each, static_cast<TIniFile*>(&once)}) {
        ini->EraseSection("b");
        ini->WriteString("a", "K", "2");
        ini->WriteBool("A", "flag", true);
        ini->WriteString("C", "new", "");
    }

    std::vector<std::string> keys;
    once.ReadSection("A", keys);
    EXPECT_EQ((std::vector<std::string>{"k", "flag"}), keys);
    EXPECT_EQ(2, once.ReadInteger("A", "k", 0));
    EXPECT_EQ(start, ReadFileBytes(dir.File("once.INI")));
    once.UpdateFile();
    EXPECT_EQ(ReadFileBytes(dir.File("each.INI")), ReadFileBytes(dir.File("once.INI")));
}

TEST(MemIniFileTest, UpdateFileNeverWritesOverAFileItCouldNotReadWhole)
{
    testing::TempDir dir;
    const std::string path = dir.File("big.INI");
    WriteFileBytes(path, "[Options]\r\nUseHR=1\r\n");
    std::filesystem::resize_file(path, kMaxSettingsFileBytes + 1);
    MemIniFile ini(path);
    ini.WriteBool("Options", "UseHR", false);
    EXPECT_THROW_MSG(ini.UpdateFile(), Exception, "Unable to write to " + path);
    EXPECT_EQ(kMaxSettingsFileBytes + 1, std::filesystem::file_size(path));
}

}  // namespace
}  // namespace pellimar
