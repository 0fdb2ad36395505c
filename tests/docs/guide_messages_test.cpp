// The messages that the user guide's tables quote (section 8) are ones the
// program can print: each quoted piece of fixed text stands in a string of
// the program's sources (the stream message table, the run's report, the
// command line's and the windows' words), while the parts the program fills
// in (file names, counts, option names, REASON) are left out of the match.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace pellimar {
namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// --- The strings of the sources -------------------------------------------

// Reads C++ source text and gives its string literals, adjacent ones joined
// as the compiler joins them, escapes decoded; comments and character
// literals are passed over.
class LiteralReader {
public:
    explicit LiteralReader(const std::string& source) : s_(source) {}

    std::vector<std::string> Literals()
    {
        std::vector<std::string> literals;
        while (at_ < s_.size()) {
            if (SkipCommentOrChar())
                continue;
            if (AtLiteral()) {
                std::string joined = ReadLiteral();
                while (SkipSpaceAndComments() && AtLiteral())
                    joined += ReadLiteral();
                literals.push_back(joined);
                continue;
            }
            ++at_;
        }
        return literals;
    }

private:
    bool StartsWith(const char* text) const { return s_.compare(at_, std::char_traits<char>::length(text), text) == 0; }

    bool SkipCommentOrChar()
    {
        if (StartsWith("//")) {
            at_ = std::min(s_.find('\n', at_), s_.size());
            return true;
        }
        if (StartsWith("/*")) {
            const std::size_t close = s_.find("*/", at_ + 2);
            at_ = close == std::string::npos ? s_.size() : close + 2;
            return true;
        }
        // A quote inside a character literal; a digit separator (1'000) is
        // not followed by a closing quote two bytes on.
        if (s_[at_] == '\'' && at_ + 2 < s_.size()) {
            const std::size_t close = s_[at_ + 1] == '\\' ? s_.find('\'', at_ + 3) : at_ + 2;
            if (close < s_.size() && s_[close] == '\'') {
                at_ = close + 1;
                return true;
            }
        }
        return false;
    }

    // True when more text follows the blanks and comments skipped.
    bool SkipSpaceAndComments()
    {
        while (at_ < s_.size()) {
            if (std::isspace(static_cast<unsigned char>(s_[at_])) != 0)
                ++at_;
            else if (!(StartsWith("//") || StartsWith("/*")) || !SkipCommentOrChar())
                return true;
        }
        return false;
    }

    // A prefix (L, u8) is passed over as any other byte; a raw literal is
    // known by its R.
    bool AtLiteral() const { return s_[at_] == '"' || StartsWith("R\""); }

    std::string ReadLiteral()
    {
        if (StartsWith("R\""))
            return ReadRaw();
        std::string text;
        for (++at_; at_ < s_.size() && s_[at_] != '"' && s_[at_] != '\n'; ++at_) {
            if (s_[at_] != '\\') {
                text += s_[at_];
                continue;
            }
            const char escaped = s_[++at_];
            if (escaped == 'n')
                text += '\n';
            else if (escaped == 't')
                text += '\t';
            else if (escaped == 'x') {
                std::size_t digits = 0;
                text += static_cast<char>(std::stoi(s_.substr(at_ + 1, 2), &digits, 16));
                at_ += digits;
            } else
                text += escaped;
        }
        ++at_;
        return text;
    }

    std::string ReadRaw()
    {
        const std::size_t open = s_.find('(', at_);
        const std::string end = ")" + s_.substr(at_ + 2, open - at_ - 2) + "\"";
        const std::size_t close = open == std::string::npos ? open : s_.find(end, open);
        if (close == std::string::npos) {
            at_ = s_.size();
            return {};
        }
        std::string text = s_.substr(open + 1, close - open - 1);
        at_ = close + end.size();
        return text;
    }

    const std::string& s_;
    std::size_t at_ = 0;
};

const std::string kEdges = " \"'(),.:;?";

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(kEdges);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kEdges) - first + 1);
}

// Blanks of any kind and number as one space, as the guide quotes them.
std::string OneSpaced(const std::string& text)
{
    std::string spaced;
    for (const char c : text) {
        const bool blank = std::isspace(static_cast<unsigned char>(c)) != 0;
        if (!blank || (!spaced.empty() && spaced.back() != ' '))
            spaced += blank ? ' ' : c;
    }
    return spaced;
}

// The strings of the program's sources, each also without the "&" of an
// access key, as a caption is shown in a message; and the set of those
// strings whole, trimmed, which the program joins into its messages ("has",
// " both. ", "file" counted as "2 files").
struct ProgramStrings {
    std::vector<std::string> all;
    std::set<std::string> whole;

    void Add(const std::string& literal)
    {
        all.push_back(OneSpaced(literal));
        whole.insert(Trimmed(all.back()));
    }

    bool Hold(const std::string& piece) const
    {
        for (const std::string& text : all) {
            if (text.find(piece) != std::string::npos)
                return true;
        }
        return false;
    }
};

ProgramStrings ReadProgramStrings()
{
    ProgramStrings strings;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PELLIMAR_SOURCE_DIR "/src")) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h")
            continue;
        const std::string source = ReadFile(entry.path());
        for (std::string literal : LiteralReader(source).Literals()) {
            strings.Add(literal);
            if (literal.find('&') != std::string::npos) {
                std::erase(literal, '&');
                strings.Add(literal);
            }
        }
    }
    return strings;
}

// A single word of a message joined in by the program: one of its strings
// whole, or such a string counted ("files"), or a short word ("of", "in").
bool JoinedWord(const ProgramStrings& strings, const std::string& word)
{
    const std::string bare = Trimmed(word);
    return bare.size() <= 3 || strings.whole.count(bare) != 0 ||
           (bare.back() == 's' && strings.whole.count(bare.substr(0, bare.size() - 1)) != 0);
}

// --- The messages of the guide --------------------------------------------

// The quoted texts (between backquotes) of the first cell of every row of the
// tables of section 8.
std::vector<std::string> QuotedMessages(const std::string& guide)
{
    const std::size_t start = guide.find("\n## 8.");
    const std::size_t end = guide.find("\n## ", start + 1);
    std::vector<std::string> messages;
    std::istringstream lines(guide.substr(start, end - start));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("| ", 0) != 0 || line.rfind("| Message", 0) == 0 || line.rfind("| ---", 0) == 0)
            continue;
        const std::string cell = line.substr(2, line.find(" | ", 2) - 2);
        for (std::size_t open = cell.find('`'); open != std::string::npos; open = cell.find('`', open + 1)) {
            const std::size_t close = cell.find('`', open + 1);
            messages.push_back(cell.substr(open + 1, close - open - 1));
            open = close;
        }
    }
    return messages;
}

bool IsAsciiUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

// A word that the program fills in: a name in capitals (INPUT, N, DIR), a
// number, a file name, an option, "%s", an elision, a character of the
// user's (any byte beyond ASCII).
bool FilledIn(std::string word)
{
    if (Trimmed(word).empty())
        return word.find("...") != std::string::npos;
    word = Trimmed(word);
    bool capitals = true;
    for (const char c : word) {
        if (std::isdigit(static_cast<unsigned char>(c)) != 0 || c == '/' || c == '.' || c == '%' ||
            static_cast<unsigned char>(c) >= 0x80)
            return true;
        capitals = capitals && IsAsciiUpper(c);
    }
    return capitals || word[0] == '-';
}

// True when the program can print the message: its words can be cut into
// runs that the program's strings hold (each run two words or more of one
// string), words joined in, and words the program fills in.
bool ProgramCanPrint(const ProgramStrings& strings, const std::string& message)
{
    std::vector<std::string> words;
    std::istringstream in(message);
    for (std::string word; in >> word;)
        words.push_back(word);
    std::vector<bool> reached(words.size() + 1, false);
    reached[0] = true;
    for (std::size_t from = 0; from < words.size(); ++from) {
        if (!reached[from])
            continue;
        if (FilledIn(words[from]) || JoinedWord(strings, words[from]))
            reached[from + 1] = true;
        std::string run = words[from];
        for (std::size_t to = from + 1; to < words.size(); ++to) {
            run += " " + words[to];
            if (!strings.Hold(Trimmed(run)))
                break;
            reached[to + 1] = true;
        }
    }
    return reached.back();
}

TEST(GuideMessagesTest, TheProgramFillsInNamesInCapitalsNumbersFilesAndOptions)
{
    for (const char* word : {"INPUT:", "N", "%s", "64", "'0'", "DIR/x.fff", "--replace-references", "...", "\"→\","})
        EXPECT_TRUE(FilledIn(word)) << word;
    for (const char* word : {"note:", "Overwrite?", "(no", "Canceled."})
        EXPECT_FALSE(FilledIn(word)) << word;
}

TEST(GuideMessagesTest, AMessageIsMadeOfRunsOfOneStringWordsJoinedInAndWordsFilledIn)
{
    ProgramStrings strings;
    for (const char* literal : {"the output ", "has", " both. ", "file", " written before the cancel", ": note: "})
        strings.Add(literal);
    EXPECT_TRUE(ProgramCanPrint(strings, "INPUT: note: the output has both."));
    EXPECT_TRUE(ProgramCanPrint(strings, "2 files written before the cancel"));
    EXPECT_FALSE(ProgramCanPrint(strings, "2 files finished before the cancel"));
    EXPECT_FALSE(ProgramCanPrint(strings, "the output holds both."));
}

TEST(GuideMessagesTest, EveryMessageQuotedInSectionEightIsOneTheProgramCanPrint)
{
    const std::vector<std::string> messages = QuotedMessages(ReadFile(PELLIMAR_SOURCE_DIR "/resources/user-guide.md"));
    const ProgramStrings strings = ReadProgramStrings();
    ASSERT_GT(messages.size(), 30U) << "the guide's tables of messages were not found";
    for (const std::string& message : messages)
        EXPECT_TRUE(ProgramCanPrint(strings, message)) << "the guide quotes \"" << message << "\", which the program "
                                                       << "cannot print: its strings do not make it";
}

}  // namespace
}  // namespace pellimar
