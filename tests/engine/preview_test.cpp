// The preview: the first references of a run with their lines, found by the
// same pass, and nothing written.
#include "engine/preview.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/convert.h"
#include "engine/level_names_line.h"
#include "streams/buffer_stream.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedHost;

struct Previewed {
    PreviewResult result;
    bool outputWritten;
};

Previewed Preview(const std::string& input, RunSettings settings, std::size_t limit, ScriptedHost& host,
                  PreviewReach reach = PreviewReach::ToTheLastListed)
{
    testing::TempDir dir;
    settings.inputPath = dir.File("in.fff");
    settings.outputPath = dir.File("out.fff");
    testing::WriteFileBytes(settings.inputPath, input);
    LevelLists levels;
    PreviewResult result = RunPreview(settings, host, levels, limit, reach);
    return {std::move(result), fs::exists(settings.outputPath)};
}

RunSettings Book()
{
    RunSettings settings;
    settings.refPattern = "1";
    settings.levelTexts[0] = "Book";
    return settings;
}

std::vector<std::int64_t> Lines(const PreviewResult& result)
{
    std::vector<std::int64_t> lines;
    for (const PreviewReference& reference : result.references)
        lines.push_back(reference.line);
    return lines;
}

// Line ends of every kind, a record code after another on one line, and a
// code running over a line end before the record; blocks of a few bytes put
// block boundaries everywhere, CR LF split by one included.
TEST(Preview, LinesOfTheRecordCodesUnderEveryKindOfLineEnd)
{
    for (const std::size_t size : {8192, 1, 2, 3}) {
        RunSettings settings = Book();
        settings.blockSize = size;
        for (const std::string end : {"\r\n", "\n", "\r"}) {
            const std::string input = "<RD:Book>Gen" + end + "<RD>a" + end + end + "<RD><RD>b" + end + "<BD" + end +
                                      "+><RD>c" + end + "<RD><JU:CN>d";
            ScriptedHost host;
            const Previewed previewed = Preview(input, settings, 10, host);
            EXPECT_EQ((std::vector<std::int64_t>{2, 4, 4, 6, 7}), Lines(previewed.result)) << size << " " << end.size();
            EXPECT_FALSE(previewed.outputWritten);
        }
        ScriptedHost host;
        // LF CR is two line ends.
        const PreviewResult twoEnds = Preview("<RD:Book>G\n\r<RD>x\n\r<RD>y", settings, 10, host).result;
        EXPECT_EQ((std::vector<std::int64_t>{3, 5}), Lines(twoEnds)) << size;
    }
}

// A preview follows the lines as it reads: a look-alike's line is told at
// once, as a run tells it.
TEST(Preview, TellsTheLineOfTheFirstLookAlike)
{
    RunSettings settings = Book();
    settings.blockSize = 4;
    ScriptedHost host;
    const Previewed previewed =
        Preview("<RD:Book>G\r\n<RD>a\r\n<RD><CS:Reference>b</CS>\r\n<RD><CS:Reference>c\r\n<RD>d", settings, 10, host);
    EXPECT_EQ(2, previewed.result.findings[Finding::LookAlikes].count);
    EXPECT_EQ(3, previewed.result.findings[Finding::LookAlikes].firstLine);
}

TEST(Preview, StopsAtTheLimitAndTellsTheRecord)
{
    std::string input = "<RD:Book>Genesis\r\n";
    for (int i = 1; i <= 30; ++i)
        input += "<RD><BD+>" + std::to_string(i) + "<BD-> verse text\r\n";
    ScriptedHost host;
    const PreviewResult few = Preview(input, Book(), 3, host).result;
    ASSERT_EQ(3u, few.references.size());
    EXPECT_EQ("Genesis", few.references[0].text);
    EXPECT_EQ("<BD+>1<BD-> verse text", few.references[0].recordStart);
    EXPECT_LT(host.percents.back(), 100);  // the rest of the file was not read
    ScriptedHost all;
    EXPECT_EQ(30u, Preview(input, Book(), 100, all).result.references.size());
}

// The reference texts of a full run, in the order written.
std::vector<std::string> ConvertedTexts(const std::string& output, bool notSearched)
{
    const std::string open = notSearched ? "<CS:Reference><IX->" : "<CS:Reference>";
    const std::string close = notSearched ? "<IX><CR>" : "<CR>";
    std::vector<std::string> texts;
    for (std::size_t at = output.find(open); at != std::string::npos; at = output.find(open, at + 1)) {
        const std::size_t start = at + open.size();
        texts.push_back(output.substr(start, output.find(close, start) - start));
    }
    return texts;
}

struct SampleRun {
    fs::path file;
    RunSettings settings;
    bool idRecords;
};

std::vector<SampleRun> SampleRuns()
{
    const fs::path resources = PELLIMAR_RESOURCES;
    RunSettings sample;
    sample.refPattern = "2 3, p. #";
    sample.pagePattern = "[#]";
    sample.notSearched = true;
    const std::vector<std::string> names = ReadLevelNamesFile((resources / "sample.def").string());
    std::copy(names.begin(), names.end(), sample.levelTexts.begin());
    std::vector<SampleRun> runs{{resources / "sample.fff", sample, false}};
    if (const fs::path shared = testing::SharedDataDir(); !shared.empty()) {
        RunSettings help;
        help.refPattern = "2 / 3";
        const std::vector<std::string> helpNames = ReadLevelNamesFile((shared / "FolioHlp.DEF").string());
        std::copy(helpNames.begin(), helpNames.begin() + kLevelCount, help.levelTexts.begin());
        runs.push_back({shared / "FolioHlp.FFF", help, true});
    }
    return runs;
}

// Read to its end, a preview counts every reference of the run, and still
// lists only the first.
TEST(Preview, EqualsTheFirstReferencesOfAFullRun)
{
    for (const SampleRun& run : SampleRuns()) {
        for (const PreviewReach reach : {PreviewReach::ToTheLastListed, PreviewReach::WholeInput}) {
            const std::string input = testing::ReadFileBytes(run.file.string());
            ScriptedHost converting;
            converting.switches.Set(RunSwitch::IdRecords, run.idRecords);
            const std::vector<std::string> full =
                ConvertedTexts(testing::Convert(input, run.settings, converting).output, run.settings.notSearched);
            ASSERT_GT(full.size(), 25u) << run.file;
            ScriptedHost previewing;
            previewing.switches.Set(RunSwitch::IdRecords, run.idRecords);
            const PreviewResult preview = Preview(input, run.settings, 25, previewing, reach).result;
            ASSERT_EQ(25u, preview.references.size());
            EXPECT_EQ(reach == PreviewReach::WholeInput ? full.size() : 25u,
                      static_cast<std::size_t>(preview.refCount));
            for (std::size_t i = 0; i < 25; ++i)
                EXPECT_EQ(full[i], preview.references[i].text) << run.file << " reference " << i;
        }
    }
}

}  // namespace
}  // namespace pellimar
