// cli_replay_cases: flat files and option sets on which pellimar-cli.exe
// under wine is held to the Linux pellimar-cli (windows_against_linux.sh),
// deterministic from fixed seeds. The files are made of the pieces the pass
// tells apart, as the fuzz targets' inputs are, but small and as plain
// files; the option sets take every option, now and then one a usage error.
//
//   cli_replay_cases FOLDER COUNT  writes, for case N of COUNT:
//     case-N.fff       the flat file (absent when the case uses a sample)
//     case-N.def       a definition file, when the case has one
//     case-N.earlier   what stands under the output's name before the run
//     case-N.args      the arguments, each ended by a NUL; "@CASE@" stands
//                      for FOLDER/case-N and "@RESOURCES@" for the samples'
//                      folder
//   cli_replay_cases --shown FILE  prints the Windows-1252 text of FILE as
//     the Linux program shows a preview in a UTF-8 locale
//   cli_replay_cases --shown-notes FILE  prints FILE with its notes on level
//     records shown so, the other lines as they are
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "run/utf8.h"
#include "run/windows_1252.h"

namespace {

// A generator whose sequence is the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }
    bool Chance(unsigned percent) { return Below(100) < percent; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Below(N)];
    }

private:
    std::uint64_t state_;
};

// Level names as the command line gives them (UTF-8) and as the file spells
// them (Windows-1252, in any letter case).
struct LevelName {
    const char* given;
    const char* inFile;
};
const LevelName kLevelNames[] = {
    {"Book", "Book"},       {"Chapter", "CHAPTER"}, {"Section", "section"}, {"Verse", "Verse"},
    {"Part", "Part"},       {"Tome", "tome"},       {"Sub Heading", "\"Sub Heading\""},
    {"\xC3\x89vangile", "\xC9vangile"},             {"Kapitel", "Kapitel"}, {"X", "x"},
};

// Text of the records: words, Windows-1252 letters and signs, the odd
// control byte and "<" that opens no code.
const char* const kWords[] = {
    "and",  "the",    "of",        "unto",       "LORD",         "earth", "caf\xE9", "\x93quoted\x94",
    "\x97", "\x80" "5", "na\xEFve", "a < b",     "tab\there",    "\x81\x8D\x8F\x90\x9D", "x\x01y", "1:2",
};

// Page-number patterns and markers that match them, or only begin to.
struct PageStyle {
    const char* pattern;
    const char* before;
    const char* after;
};
const PageStyle kPageStyles[] = {
    {"[#]", "[", "]"}, {"{#}", "{", "}"}, {"Page #", "Page ", ""}, {"(#).", "(", ")."}, {"#", "", ""},
    {"p.#", "p.", ""},
};
const char* const kNearMarkers[] = {"[a]", "[[12]", "[]", "{", "Page x", "(7),", "[0000000000000000000042]"};

const char* const kLineEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};

// Text the reference pattern may hold besides its digits, in UTF-8: some
// that Windows-1252 holds, and rarely a character it lacks or a control.
const char* const kPatternText[] = {
    " ", ", ", ": p. ", "-", "0", "8", "9", "\xE2\x80\x94", "\xE2\x80\x9C", "\xC2\xA7", "\xE2\x82\xAC",
    "<", ">", "\"", "'", "\\", "%", "a b",
};
const char* const kRarePatternText[] = {"\xE2\x86\x92", "\xC2\x81", "\xE2\x80\x8B", "\t"};

const char* const kStartPages[] = {"1", "7", "-1", "0", "+3", "2147483647", "-2147483648", "12"};
const char* const kWrongStartPages[] = {"abc", "99999999999", "", "7 "};

class Case {
public:
    explicit Case(std::uint64_t seed) : random_(seed)
    {
        for (int level = 0; level < 7; ++level) {
            levels_.push_back(&random_.Pick(kLevelNames));
            named_.push_back(random_.Chance(75));
        }
        page_ = &random_.Pick(kPageStyles);
    }

    std::string FlatFile()
    {
        std::string file;
        if (random_.Chance(30))
            file += LevelNamesLine() + "\r\n";
        if (random_.Chance(20))
            file += "<CM>a comment</CM>\r\n";
        const unsigned records = 5 + random_.Below(80);
        for (unsigned i = 0; i < records; ++i)
            file += Record();
        if (random_.Chance(10))
            file.pop_back();  // the input ends inside its last line
        return file;
    }

    std::string Definitions() { return random_.Chance(95) ? LevelNamesLine() + "\r\n" : "<DI:\"nothing\">\r\n"; }

    // The arguments; `withDefinitions` when case-N.def exists. The file
    // names stand anywhere among the options, now and then after "--".
    std::vector<std::string> Arguments(bool withDefinitions, const std::string& input, const std::string& levelsFrom,
                                       bool& earlierOutput)
    {
        std::vector<std::vector<std::string>> options;
        const std::vector<std::string> files = Options(withDefinitions, input, levelsFrom, options);
        const auto count = static_cast<unsigned>(options.size());
        const unsigned first = random_.Below(count + 1);
        const unsigned second = first + random_.Below(count + 1 - first);
        std::vector<std::string> arguments{"--no-progress"};
        for (unsigned i = 0; i <= count; ++i) {
            if (i == first && first == count && random_.Chance(20))
                arguments.push_back("--");
            if (i == first)
                arguments.push_back(files[0]);
            if (i == second && files.size() > 1)
                arguments.push_back(files[1]);
            if (i < count)
                arguments.insert(arguments.end(), options[i].begin(), options[i].end());
        }
        if (first < count)
            Add(arguments, 2, {"-r"});  // a value missing at the end
        earlierOutput = random_.Chance(40);
        return arguments;
    }

private:
    // The options, each with its value, and the file names.
    std::vector<std::string> Options(bool withDefinitions, const std::string& input, const std::string& levelsFrom,
                                     std::vector<std::vector<std::string>>& arguments)
    {
        const std::string pattern = ReferencePattern();
        Add(arguments, 97, {"-r", pattern});
        Add(arguments, pattern.find('#') != std::string::npos ? 92 : 40,
            {random_.Chance(50) ? "-p" : "--page-pattern", page_->pattern});
        if (withDefinitions || !levelsFrom.empty())
            Add(arguments, 80, {random_.Chance(50) ? "-L" : "--levels-from", levelsFrom.empty() ? "@CASE@.def"
                                                                                               : levelsFrom});
        for (int level = 0; level < 7; ++level) {
            if (named_[level] && (levelsFrom.empty() || random_.Chance(20)))
                Add(arguments, 95, {"--level" + std::to_string(level + 1), levels_[level]->given});
        }
        for (const char* flag : {"--remove-page-marks", "--not-searched", "--left-just-only", "--use-hr",
                                 "--id-records", "-q", "--quiet"})
            Add(arguments, 25, {flag});
        Add(arguments, 25, {"--start-page", random_.Chance(90) ? random_.Pick(kStartPages)
                                                               : random_.Pick(kWrongStartPages)});
        Add(arguments, 8, {"--encoding=bytes"});
        Add(arguments, 3, {random_.Chance(50) ? "--nope" : "-x"});
        const bool preview = random_.Chance(15);
        if (preview)
            arguments.push_back({random_.Chance(40) ? "--preview" : "--preview=" + std::to_string(random_.Below(30))});
        else
            Add(arguments, 75, {random_.Chance(50) ? "-f" : "--force"});
        std::vector<std::string> files{random_.Chance(2) ? "@CASE@.missing" : input};
        if (!preview || random_.Chance(3))
            files.push_back(random_.Chance(3) ? input : "@CASE@.out");
        return files;
    }

    void Add(std::vector<std::vector<std::string>>& options, unsigned percent, std::vector<std::string> option)
    {
        if (random_.Chance(percent))
            options.push_back(std::move(option));
    }

    void Add(std::vector<std::string>& arguments, unsigned percent, std::vector<std::string> option)
    {
        if (random_.Chance(percent))
            arguments.insert(arguments.end(), option.begin(), option.end());
    }

    std::string LevelNamesLine()
    {
        std::string line = "<LN:Whole";
        for (const LevelName* level : levels_) {
            if (random_.Chance(90))
                line += std::string(",") + level->inFile;
        }
        return line + ">";
    }

    std::string LineEnd() { return random_.Chance(90) ? "\r\n" : random_.Pick(kLineEnds); }

    std::string Text()
    {
        std::string text;
        const unsigned words = random_.Below(8);
        for (unsigned i = 0; i < words; ++i) {
            text += (i > 0 ? " " : "") + std::string(random_.Pick(kWords));
            if (random_.Chance(10))
                text += Marker();
            if (random_.Chance(4))
                text += random_.Pick(kNearMarkers);
        }
        return text;
    }

    std::string Marker()
    {
        return std::string(page_->before) + std::to_string(random_.Below(random_.Chance(5) ? 100000 : 40)) +
               page_->after;
    }

    std::string LevelRecord()
    {
        const char* name = levels_[random_.Below(static_cast<unsigned>(levels_.size()))]->inFile;
        std::string code;
        switch (random_.Below(6)) {
        case 0: code = std::string("<RD,ID:") + std::to_string(random_.Below(900)) + ":" + name + ">"; break;
        case 1: code = std::string("<RD,12:") + name + ">"; break;
        case 2: code = std::string("<rd:") + name + ">"; break;
        default: code = std::string("<RD:") + name + ">"; break;
        }
        std::string heading = Text();
        if (random_.Chance(15))
            heading += LineEnd() + "continued " + Text();
        if (random_.Chance(5))
            heading = "NotSet";
        return code + heading + LineEnd();
    }

    std::string Record()
    {
        if (random_.Chance(25))
            return LevelRecord();
        std::string code = random_.Chance(85) ? "<RD>" : random_.Chance(50) ? "<rd>" : "<RD,ID:7>";
        switch (random_.Below(8)) {
        case 0: code += "<JU:CN>"; break;
        case 1: code += "<PS:Normal>"; break;
        case 2: return code + LineEnd();  // a record code that ends its line
        default: break;
        }
        return code + Text() + (random_.Chance(15) ? Marker() : "") + LineEnd();
    }

    std::string ReferencePattern()
    {
        std::string pattern;
        const unsigned pieces = 1 + random_.Below(5);
        for (unsigned i = 0; i < pieces; ++i) {
            const unsigned kind = random_.Below(10);
            if (kind < 5)
                pattern += static_cast<char>('1' + NamedLevel());
            else if (kind < 7)
                pattern += '#';
            else if (random_.Chance(4))
                pattern += random_.Pick(kRarePatternText);
            else
                pattern += random_.Pick(kPatternText);
        }
        return pattern;
    }

    // A level the case names, mostly; now and then any.
    unsigned NamedLevel()
    {
        const unsigned level = random_.Below(7);
        if (named_[level] || random_.Chance(5))
            return level;
        for (unsigned next = 1; next < 7; ++next) {
            if (named_[(level + next) % 7])
                return (level + next) % 7;
        }
        return level;
    }

    Random random_;
    std::vector<const LevelName*> levels_;
    std::vector<bool> named_;  // given a name on the command line
    const PageStyle* page_;
};

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}

// Every tenth case runs over a sample with its definition file.
const char* const kSamples[][2] = {{"sample.fff", "sample.def"}, {"sample-ids.fff", "sample-ids.def"}};

bool WriteCase(const std::string& folder, unsigned number)
{
    char name[32];
    std::snprintf(name, sizeof name, "/case-%03u", number);
    const std::string base = folder + name;
    Case c(0x9E11'1A40'0000'0000ull + number);
    bool written = true;
    std::string input = "@CASE@.fff";
    std::string levelsFrom;
    bool withDefinitions = false;
    if (number % 10 == 9) {
        const auto& sample = kSamples[(number / 10) % 2];
        input = std::string("@RESOURCES@/") + sample[0];
        levelsFrom = std::string("@RESOURCES@/") + sample[1];
    } else {
        written = WriteFile(base + ".fff", c.FlatFile());
        withDefinitions = number % 3 == 0;
        if (withDefinitions)
            written = written && WriteFile(base + ".def", c.Definitions());
    }
    bool earlierOutput = false;
    std::string arguments;
    for (const std::string& argument : c.Arguments(withDefinitions, input, levelsFrom, earlierOutput))
        arguments += argument + '\0';
    written = written && WriteFile(base + ".args", arguments);
    if (earlierOutput)
        written = written && WriteFile(base + ".earlier", "earlier output\r\n");
    return written;
}

std::string ShownText(std::string_view bytes)
{
    std::string text;
    for (const char byte : bytes)
        pellimar::AppendUtf8(text, pellimar::CharacterOfWindows1252(static_cast<unsigned char>(byte)));
    return text;
}

// The lines of FILE, each shown when `onlyNotes` is false or it is a note
// on level records, which names levels as the flat file writes them.
int Shown(const char* path, bool onlyNotes)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text;
    std::istringstream lines(bytes.str());
    for (std::string line; std::getline(lines, line);) {
        const bool shown = !onlyNotes || line.find("level record") != std::string::npos;
        text += (shown ? ShownText(line) : line) + (lines.eof() ? "" : "\n");
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return in ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--shown")
        return Shown(argv[2], false);
    if (argc == 3 && std::string(argv[1]) == "--shown-notes")
        return Shown(argv[2], true);
    if (argc != 3) {
        std::cerr << "usage: cli_replay_cases FOLDER COUNT | --shown FILE | --shown-notes FILE\n";
        return 2;
    }
    const unsigned count = static_cast<unsigned>(std::stoul(argv[2]));
    for (unsigned number = 0; number < count; ++number) {
        if (!WriteCase(argv[1], number)) {
            std::cerr << "cli_replay_cases: cannot write case " << number << " in " << argv[1] << "\n";
            return 1;
        }
    }
    return 0;
}
