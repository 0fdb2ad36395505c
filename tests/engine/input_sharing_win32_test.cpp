// An input that Windows keeps from other programs' writers while a run
// reads it, through the sharing the run asks for when it opens it: a
// program that has it open for writing keeps the run from starting, and one
// that tries to open it for writing during the run is refused.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "engine/conversion.h"
#include "engine/scripted_host.h"
#include "streams/wide_names.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

// The input opened for writing as another program would, sharing all it can.
HANDLE OpenForWriting(const std::string& path)
{
    return CreateFileW(WideOfName(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class InputSharing : public ::testing::Test {
protected:
    InputSharing()
    {
        settings.refPattern = "1";
        settings.levelTexts[0] = "Book";
        settings.inputPath = dir.File("in.fff");
        settings.outputPath = dir.File("out.fff");
        std::string input = "<RD:Book>B\r\n";
        while (input.size() < 1'000'000)
            input += "<RD>" + std::to_string(input.size()) + " text of the record\r\n";
        testing::WriteFileBytes(settings.inputPath, input);
        testing::WriteFileBytes(settings.outputPath, "earlier");
    }

    // The run's failure, or nothing when it converted; `during` runs once,
    // half way through.
    std::string Converting(const std::function<void()>& during = [] {})
    {
        host.onProgress = [&, done = false](std::int32_t percent) mutable {
            if (percent >= 50 && !done) {
                done = true;
                during();
            }
        };
        try {
            LevelLists levels;
            RunConversion(settings, host, levels);
        } catch (const Exception& error) {
            return std::string(error.what()) + ": " + error.Reason();
        }
        return {};
    }

    testing::TempDir dir;
    RunSettings settings;
    testing::ScriptedHost host;
};

TEST_F(InputSharing, InputAnotherProgramWritesIsRefusedBeforeAnythingIsWritten)
{
    const HANDLE writer = OpenForWriting(settings.inputPath);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    EXPECT_EQ("Cannot open file " + settings.inputPath + ": another program has it open", Converting());
    CloseHandle(writer);
    EXPECT_EQ("earlier", testing::ReadFileBytes(settings.outputPath));
}

TEST_F(InputSharing, WriterDuringTheRunIsRefusedAndTheRunGoesOn)
{
    DWORD refusal = 0;
    EXPECT_EQ("", Converting([&] {
                  const HANDLE writer = OpenForWriting(settings.inputPath);
                  refusal = writer == INVALID_HANDLE_VALUE ? GetLastError() : 0;
                  if (writer != INVALID_HANDLE_VALUE)
                      CloseHandle(writer);
              }));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), refusal);
    EXPECT_NE(std::string::npos, testing::ReadFileBytes(settings.outputPath).find("<CS:Reference>B"));
}

}  // namespace
}  // namespace pellimar
