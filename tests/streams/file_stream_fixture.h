// The fixture of the file stream tests: a folder with an input file whose
// bytes must survive every refused attempt to write over it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "streams/exceptions.h"
#include "streams/text_stream.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"

namespace pellimar::testing {

class FileStreamTest : public ::testing::Test {
protected:
    FileStreamTest()
    {
        input = dir.File("input.fff");
        WriteFileBytes(input, "original bytes");
    }

    // Creating a stream on `path` while `input` is open for reading fails and
    // leaves the input as it was.
    void ExpectCreateRefused(const std::string& path)
    {
        TS_TextStream reading(input, fmOpenRead);
        EXPECT_THROW_MSG(TS_TextStream(path, fmCreate), EFCreateError, "Cannot create file " + path);
        EXPECT_EQ("original bytes", ReadFileBytes(input));
    }

    TempDir dir;
    std::string input;
};

}  // namespace pellimar::testing
