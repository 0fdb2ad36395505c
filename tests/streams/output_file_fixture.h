// The fixture of the output file tests: an earlier file under the output's
// name, and writing a whole text through an output file.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "streams/output_file.h"
#include "streams/text_stream.h"
#include "support/temp_dir.h"

namespace pellimar::testing {

inline void WriteThrough(OutputFile& output, const std::string& bytes)
{
    std::unique_ptr<TS_TextStream> stream = output.CreateStream();
    stream->WriteStr(bytes);
    stream->Close();
}

class OutputFileTest : public ::testing::Test {
protected:
    OutputFileTest() { WriteFileBytes(path, "earlier"); }

    TempDir dir;
    std::string path = dir.File("out.fff");
};

}  // namespace pellimar::testing
