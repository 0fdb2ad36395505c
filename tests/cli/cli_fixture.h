// The fixture of the pellimar-cli tests: a folder with a small flat file as
// input, the path of an output beside it, and the program's runner.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/run_binary.h"
#include "support/temp_dir.h"

namespace pellimar::testing {

inline const std::string kCliInput = "<RD:Book>Genesis\r\n<RD>In the beginning [1] God\r\n<RD><JU:CN>created\r\n";

class Cli : public ::testing::Test {
protected:
    Cli()
    {
        input = dir.File("in.fff");
        output = dir.File("out.fff");
        WriteFileBytes(input, kCliInput);
    }

    // fileSizeLimit, when not zero, caps the size of files the program writes (POSIX).
    ProgramRun Run(std::vector<std::string> arguments, std::uint64_t fileSizeLimit = 0)
    {
        ProgramSetup setup;
        setup.fileSizeLimit = fileSizeLimit;
        return RunProgram(PELLIMAR_CLI_PATH, arguments, setup);
    }

    // A failure says so on stderr, exits with `status` and never prints the
    // success summary.
    static void ExpectError(const ProgramRun& run, const std::string& message, int status = 1)
    {
        EXPECT_EQ(status, run.status);
        EXPECT_NE(std::string::npos, run.err.find(message)) << run.err;
        EXPECT_EQ("", run.out);
    }

    TempDir dir;
    std::string input;
    std::string output;
};

}  // namespace pellimar::testing
