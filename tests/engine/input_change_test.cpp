// An input that another program changes while a run reads it: the run fails
// and says what became of its output. The change comes at an exact read of
// the input, through the file layer's seam: on POSIX the file is cut or
// grows; on Windows, where no other program may write it while it is read,
// its last-write time is set.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "engine/conversion.h"
#include "engine/preview.h"
#include "engine/run_frame.h"
#include "engine/scripted_host.h"
#include "streams/file_faults.h"
#include "streams/file_names.h"
#include "streams/wide_names.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

// What the seam does to the input of the test under way.
std::string changedInput;
std::uintmax_t changedSize = 0;

void ChangeInput()
{
#ifdef _WIN32
    const HANDLE file = CreateFileW(WideOfName(changedInput).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    FILETIME written{};
    GetFileTime(file, nullptr, nullptr, &written);
    ++written.dwHighDateTime;
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
#else
    std::filesystem::resize_file(changedInput, changedSize);
#endif
}

class InputChange : public ::testing::Test {
protected:
    InputChange()
    {
        settings.refPattern = "1";
        settings.levelTexts[0] = "Book";
        settings.inputPath = changedInput = dir.File("in.fff");
        settings.outputPath = dir.File("out.fff");
        std::string input = "<RD:Book>B\r\n";
        while (input.size() < 1'000'000)
            input += "<RD>" + std::to_string(input.size()) + " text of the record\r\n";
        testing::WriteFileBytes(settings.inputPath, input);
    }
    ~InputChange() override { DisarmFileFaults(); }

    // The input takes `size` bytes (POSIX) just before the run's second read
    // of it.
    static void ChangeAtTheSecondRead(std::uintmax_t size)
    {
        changedSize = size;
        ArmFileEvent(FileCall::Read, ChangeInput, 1);
    }

    // The message of the run's failure; empty when it did not fail so.
    std::string FailureOf(const std::function<void()>& run)
    {
        try {
            run();
        } catch (const EInputChanged& error) {
            EXPECT_EQ(host.log.back(), "leave");
            return error.what();
        }
        return {};
    }

    std::string Converting()
    {
        return FailureOf([&] {
            LevelLists levels;
            RunConversion(settings, host, levels);
        });
    }

    testing::TempDir dir;
    RunSettings settings;
    testing::ScriptedHost host;
};

TEST_F(InputChange, ChangedInputFailsTheRunAndNothingIsWritten)
{
    ChangeAtTheSecondRead(300'000);
    EXPECT_EQ(settings.inputPath + " changed while it was being read; " + settings.outputPath + " was not written",
              Converting());
    EXPECT_EQ(testing::FileNames(dir.Path()), std::set<std::string>{"in.fff"});
}

TEST_F(InputChange, ChangedInputFailsTheRunAndTheEarlierOutputStays)
{
    testing::WriteFileBytes(settings.outputPath, "earlier");
    ChangeAtTheSecondRead(2'000'000);
    EXPECT_EQ(settings.inputPath + " changed while it was being read; " + settings.outputPath +
                  " was left as it was",
              Converting());
    EXPECT_EQ("earlier", testing::ReadFileBytes(settings.outputPath));
    EXPECT_EQ(testing::FileNames(dir.Path()), (std::set<std::string>{"in.fff", "out.fff"}));
}

// Written in place, the output is removed as after a cancel.
TEST_F(InputChange, OutputWrittenInPlaceIsRemoved)
{
    testing::WriteFileBytes(settings.outputPath, "earlier");
    // The folder takes no new file.
    ArmFileFault(FileCall::CreateUnnamed, kAccessDeniedError);
    ArmFileFault(FileCall::CreateBeside, kAccessDeniedError);
    ChangeAtTheSecondRead(300'000);
    EXPECT_EQ(settings.inputPath + " changed while it was being read; " + settings.outputPath + " was removed",
              Converting());
    EXPECT_EQ(testing::FileNames(dir.Path()), std::set<std::string>{"in.fff"});
}

TEST_F(InputChange, WhatADeviceReceivedIsNotVouchedFor)
{
    settings.outputPath = kNullDevice;
    ChangeAtTheSecondRead(300'000);
    EXPECT_EQ(settings.inputPath + " changed while it was being read; what went to " + settings.outputPath +
                  " may be incomplete",
              Converting());
}

TEST_F(InputChange, PreviewListsNothing)
{
    ChangeAtTheSecondRead(300'000);
    EXPECT_EQ(settings.inputPath + " changed while it was being read; no references are listed", FailureOf([&] {
                  LevelLists levels;
                  RunPreview(settings, host, levels, 1'000'000);
              }));
}

// A cancelled run is no success to report: its partial output is the
// caller's to keep or throw away, as after any cancel.
TEST_F(InputChange, CancelledRunIsReportedAsCancelled)
{
    host.onProgress = [this](std::int32_t percent) { host.cancel = percent >= 50; };
    ChangeAtTheSecondRead(2'000'000);
    RunResult result;
    EXPECT_EQ("", FailureOf([&] {
                  LevelLists levels;
                  result = RunConversion(settings, host, levels);
              }));
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.partialOutput);
}

}  // namespace
}  // namespace pellimar
