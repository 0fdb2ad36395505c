// The plain conversion. Each construct is handled where it starts, reading
// ahead in the input as far as it needs; a construct cut off by the end of
// the input writes what it read and ends the run.
#include "conversion_model.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "engine/reference_pattern.h"

namespace pellimar::fuzz {
namespace {

constexpr const char* kNotSet = "NotSet";

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return Upper(c); });
    return upper;
}

bool IsBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A heading line with its codes removed, and where in what is left the
// codes Folio shows as white space stood.
struct StrippedLine {
    std::string text;
    std::vector<std::size_t> spaces;
};

bool IsWhiteSpaceCode(std::string_view code)
{
    const std::string upper = Upper(code);
    return upper == "CR" || upper == "HR" || upper == "TB" || upper == "HS" || upper == "PB";
}

// "<<" outside a code is kept as it stands; inside one it is part of it.
StrippedLine StripCodes(std::string_view text)
{
    StrippedLine kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == "<<") {
            kept.text += "<<";
            ++i;
        } else if (text[i] == '<') {
            // A "<" that no ">" closes takes the rest of the text with it.
            const std::size_t close = text.find('>', i);
            if (close == std::string_view::npos)
                break;
            if (IsWhiteSpaceCode(text.substr(i + 1, close - i - 1)))
                kept.spaces.push_back(kept.text.size());
            i = close;
        } else {
            kept.text += text[i];
        }
    }
    return kept;
}

// Each place white space stood becomes one blank where the bytes on both
// sides are there and are not blanks; places at the same spot are one run.
std::string WithWhiteSpace(const StrippedLine& value)
{
    std::string text = value.text;
    for (auto place = value.spaces.rbegin(); place != value.spaces.rend(); ++place) {
        const std::size_t at = *place;
        if (place != value.spaces.rbegin() && at == *(place - 1))
            continue;
        if (at > 0 && at < text.size() && !IsBlank(text[at - 1]) && !IsBlank(text[at]))
            text.insert(at, 1, ' ');
    }
    return text;
}

// Text read as running text is made of pieces: a byte, a "<<", or a code
// from its "<" to its ">" (or to the end, where none closes it). The end
// of the piece that starts at `at`.
std::size_t PieceEnd(std::string_view text, std::size_t at)
{
    if (text[at] != '<')
        return at + 1;
    if (at + 1 < text.size() && text[at + 1] == '<')
        return at + 2;
    const std::size_t close = text.find('>', at + 1);
    return close == std::string_view::npos ? text.size() : close + 1;
}

// The longest run of whole pieces from the start that holds at most `most`
// bytes.
std::size_t WholePieces(std::string_view text, std::size_t most)
{
    std::size_t at = 0;
    while (at < text.size() && PieceEnd(text, at) <= most)
        at = PieceEnd(text, at);
    return at;
}

// A level's name ends at the first "," or ";" outside double quotes.
std::string NameField(std::string_view text)
{
    std::string field;
    bool quoted = false;
    for (const char c : text) {
        if (!quoted && (c == ',' || c == ';'))
            break;
        quoted = quoted != (c == '"');
        field += c;
    }
    return field;
}

class ModelPass {
public:
    ModelPass(std::string_view input, const ConversionOptions& options) : in_(input), o_(options)
    {
        for (std::size_t k = 0; k < 7; ++k) {
            const std::string upper = Upper(o_.levelTexts[k]);
            names_[k] = o_.levelTexts[k].find(' ') != std::string::npos ? '"' + upper + '"' : upper;
            out_.levelValues[k] = kNotSet;
        }
        firstLevel_ = pattern_.FirstLevel();
        hash_ = o_.pagePattern.find('#');
        writes_ = o_.earlier != EarlierReferences::Remove;
        markers_ = writes_ && pattern_.ShowsPage() && hash_ != std::string::npos;
    }

    ConversionOutcome Run()
    {
        while (More()) {
            const char ch = in_[at_++];
            if (ch != '<' && markers_ && ch == o_.pagePattern[0]) {
                PageMarker(ch);
            } else if (EscapedOpen(ch)) {
                Emit("<<");
            } else {
                Emit(ch);
                if (ch == '<')
                    Code();
            }
        }
        return out_;
    }

private:
    bool More() const { return at_ < in_.size(); }

    // A "<" just taken and a second one after it: a "<" meant as text,
    // both taken.
    bool EscapedOpen(char ch)
    {
        if (ch != '<' || !More() || in_[at_] != '<')
            return false;
        ++at_;
        return true;
    }
    void Emit(char ch) { out_.output += ch; }
    void Emit(std::string_view text) { out_.output += text; }

    // Up to the next byte of `stops`, which stays unread.
    std::string_view TakeUntil(std::string_view stops)
    {
        const std::size_t end = std::min(in_.find_first_of(stops, at_), in_.size());
        const std::string_view taken = in_.substr(at_, end - at_);
        at_ = end;
        return taken;
    }

    // After a "<": the code's text and its ">", then what the code means.
    void Code()
    {
        const std::string_view text = TakeUntil(">");
        CloseCode(text);
    }

    // The code's text and, unless the input ends first, its ">"; then what
    // the code means.
    void CloseCode(std::string_view text)
    {
        Emit(text);
        if (!More())
            return;
        Emit(in_[at_++]);
        if (More())
            RecordCode(Upper(text));
    }

    void RecordCode(std::string code)
    {
        const std::optional<std::string> idLevel = IdLevelField(code);
        if (idLevel && o_.switches.On(RunSwitch::IdRecords))
            code = "RD:" + *idLevel;
        if (code.starts_with("RD,")) {
            code.erase(2, 1);
            while (code.size() > 2 && (code[2] == ' ' || IsDigit(code[2])))
                code.erase(2, 1);
        }
        if (code.starts_with("RD:")) {
            const std::size_t name = code.find_first_not_of(' ', 3);
            const std::size_t start = at_;
            Emit(EarlierReferencesAfterRecordCode());
            if (More())
                Heading(name == std::string::npos ? "" : NameField(std::string_view(code).substr(name)), start);
        } else if (code.starts_with("RD")) {
            if (idLevel)
                CountUnreadIdLevel(*idLevel);
            AfterPlainRecordCode();
        }
    }

    // «RD,ID:7:CHAPTER,CH» names the level CHAPTER: the field after an ID of
    // at least one byte, up to the first "," or ";" outside double quotes.
    static std::optional<std::string> IdLevelField(const std::string& code)
    {
        if (!code.starts_with("RD,ID:"))
            return std::nullopt;
        const std::size_t idEnd = code.find_first_of(":,;", 6);
        if (idEnd == std::string::npos || idEnd == 6 || code[idEnd] != ':')
            return std::nullopt;
        return NameField(std::string_view(code).substr(idEnd + 1));
    }

    void CountUnreadIdLevel(const std::string& field)
    {
        const std::size_t start = field.find_first_not_of(' ');
        const std::string name = start == std::string::npos ? "" : field.substr(start);
        if (!name.empty() && LevelOf(name) != -1)
            ++out_.unreadIdLevelRecords;
    }

    int LevelOf(const std::string& name) const
    {
        for (int k = 0; k < 7; ++k) {
            if (Upper(names_[k]) == Upper(name))
                return k;
        }
        return -1;
    }

    // Earlier references kept stand after the record's new one.
    void AfterPlainRecordCode()
    {
        recordAt_ = at_;
        const std::string kept = EarlierReferencesAfterRecordCode();
        if (!More())
            return Emit(kept);
        const char ch = in_[at_++];
        if (IsBreak(ch)) {
            LaterLineRecord();
            Emit(kept);
            Emit(ch);
            return;
        }
        if (EscapedOpen(ch)) {
            ReferenceIfDue();
            Emit(kept);
            Emit("<<");
            return;
        }
        if (ch != '<') {
            ReferenceIfDue();
            Emit(kept);
            Emit(ch);
            return;
        }
        const std::string_view text = TakeUntil(">");
        const std::string head = Upper(text.substr(0, 3));
        if (!(o_.switches.On(RunSwitch::LeftJustOnly) && (head == "JU:" || head == "PS:")))
            ReferenceIfDue();
        Emit(kept);
        Emit('<');
        CloseCode(text);
    }

    // The frames of earlier references, one after another, right after a
    // record code: taken, and returned when they are kept. A text that only
    // begins like one is counted and left.
    std::string EarlierReferencesAfterRecordCode()
    {
        std::string kept;
        while (in_.substr(at_).starts_with("<CS:Reference>")) {
            const std::optional<std::size_t> length = FrameLength();
            if (!length) {
                Count(out_.earlierLookAlikes, at_);
                break;
            }
            ++out_.earlierReferences;
            if (o_.earlier == EarlierReferences::Keep)
                kept += in_.substr(at_, *length);
            at_ += *length;
        }
        return kept;
    }

    // The frame at at_: "<CS:Reference>", a text of pieces with no line
    // break, none of them a code that begins "RD", "CS:" or "/CS", the first
    // one "<IX->" exactly when the one before the last is "<IX>", the last
    // one "<CR>" or "<HR>", then "\r\n</CS>"; no longer than the longest.
    std::optional<std::size_t> FrameLength() const
    {
        std::size_t at = at_ + std::string_view("<CS:Reference>").size();
        const bool opensNotSearched = in_.substr(at).starts_with("<IX->");
        std::string_view pieceBeforeLast;
        std::string_view lastPiece;
        while (at < in_.size() && !IsBreak(in_[at])) {
            const std::string_view piece = in_.substr(at, PieceEnd(in_, at) - at);
            if (piece.size() > 1 && piece[1] != '<') {
                const std::string code = Upper(piece.substr(1));
                if (piece.back() != '>' || piece.find_first_of("\r\n") != std::string_view::npos ||
                    code.starts_with("RD") || code.starts_with("CS:") || code.starts_with("/CS"))
                    return std::nullopt;
            }
            pieceBeforeLast = lastPiece;
            lastPiece = piece;
            at += piece.size();
        }
        const std::size_t length = at + 7 - at_;
        if ((lastPiece != "<CR>" && lastPiece != "<HR>") || in_.substr(at, 7) != "\r\n</CS>" ||
            length > o_.longestEarlier || opensNotSearched != (pieceBeforeLast == "<IX>"))
            return std::nullopt;
        return length;
    }

    // The line of the byte at `position`: one more than the line ends
    // before it.
    std::int64_t LineAt(std::size_t position) const
    {
        std::int64_t ends = 0;
        for (std::size_t i = 0; i < position; ++i)
            ends += in_[i] == '\r' || (in_[i] == '\n' && (i == 0 || in_[i - 1] != '\r'));
        return ends + 1;
    }

    void Count(Counted& counted, std::size_t position) const
    {
        if (counted.count++ == 0)
            counted.firstLine = LineAt(position);
    }

    // The whole value is gathered, then cut to the longest reference.
    void Heading(const std::string& name, std::size_t start)
    {
        std::string_view line = TakeUntil("\r\n");
        Emit(line);
        const int level = LevelOf(name);
        StrippedLine value = StripCodes(line);
        while (More()) {
            const char lineEnd = in_[at_++];
            Emit(lineEnd);
            if (lineEnd == '\r' && More() && in_[at_] == '\n')
                Emit(in_[at_++]);
            if (!More() || IsBreak(in_[at_]) || in_[at_] == '<')
                break;
            line = TakeUntil("\r\n");
            Emit(line);
            if (const StrippedLine more = StripCodes(line); !more.text.empty()) {
                value.text += ' ';
                for (const std::size_t at : more.spaces)
                    value.spaces.push_back(value.text.size() + at);
                value.text += more.text;
            }
        }
        if (level == -1)
            return;
        std::string text = WithWhiteSpace(value);
        if (text.size() > o_.longestEarlier) {
            text.resize(WholePieces(text, o_.longestEarlier));
            Count(out_.headingsCut, start);
        }
        // Nothing shows a level deeper than the pattern does: it stays
        // unset.
        if (level > pattern_.DeepestLevel())
            return;
        out_.levelValues[level] = text;
        for (int deeper = level + 1; deeper < 7; ++deeper)
            out_.levelValues[deeper] = kNotSet;
    }

    // Entered with the pattern's first byte consumed. A failed attempt
    // writes every byte it consumed, none of which is looked at again; a
    // "<" it failed on is not consumed.
    void PageMarker(char first)
    {
        const std::string& pattern = o_.pagePattern;
        std::string held(1, first);
        for (std::size_t k = 1; k < hash_; ++k) {
            if (!More())
                return Emit(held);
            if (in_[at_] != pattern[k])
                return FailOn(held);
            held += in_[at_++];
        }
        std::string digits;
        while (More() && IsDigit(in_[at_]))
            digits += in_[at_++];
        held += digits;
        if (digits.empty()) {
            if (More())
                return FailOn(held);
            return Emit(held);
        }
        std::string tail = pattern.substr(hash_ + 1);
        std::erase(tail, '#');
        for (const char expected : tail) {
            if (!More())
                return Emit(held);
            if (in_[at_] != expected)
                return FailOn(held);
            held += in_[at_++];
        }
        if (!o_.removePageMarks)
            Emit(held);
        if (More() && !IsBreak(in_[at_]))
            midLinePage_ = true;
        if (More())
            page_ = PageFromDigits(digits);
    }

    // A failed attempt's held bytes and the byte it failed on, unless that
    // is a "<".
    void FailOn(std::string held)
    {
        if (in_[at_] != '<')
            held += in_[at_++];
        Emit(held);
    }

    static std::int32_t PageFromDigits(const std::string& digits)
    {
        const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
        const std::string significant = digits.substr(first);
        if (significant.size() > 10 || (significant.size() == 10 && significant > "2147483647"))
            return 0;
        return significant.empty() ? 0 : static_cast<std::int32_t>(std::stoll(significant));
    }

    bool ReferenceDue() const { return writes_ && (firstLevel_ < 0 || out_.levelValues[firstLevel_] != kNotSet); }

    void ReferenceIfDue()
    {
        if (ReferenceDue())
            Reference();
    }

    // A record code that ends its line, its line break just taken: the
    // record's first text past line breaks and blanks, within 64 KB of the
    // line break, unless a record code or the end comes first. That text
    // judged as if it stood after the code: with the switch the reference
    // goes before the line break; without it the record is counted.
    void LaterLineRecord()
    {
        constexpr std::size_t kReach = 64 * 1024;
        const std::size_t lineBreak = at_ - 1;
        std::size_t at = at_;
        while (at < in_.size() && at - lineBreak < kReach && std::string_view(" \t\r\n").find(in_[at]) != std::string_view::npos)
            ++at;
        if (at - lineBreak == kReach) {
            if (o_.switches.On(RunSwitch::LineEndRecords) && ReferenceDue())
                ++out_.laterLineRecords;
            return;
        }
        if (at == in_.size() || Upper(in_.substr(at, 3)) == "<RD")
            return;
        bool wanted = true;
        if (in_[at] == '<' && in_.substr(at, 2) != "<<") {
            const std::size_t close = std::min(in_.find('>', at), in_.size());
            const std::string head = Upper(in_.substr(at + 1, std::min<std::size_t>(3, close - at - 1)));
            wanted = !(o_.switches.On(RunSwitch::LeftJustOnly) && (head == "JU:" || head == "PS:"));
        }
        if (!wanted || !ReferenceDue())
            return;
        if (o_.switches.On(RunSwitch::LineEndRecords))
            Reference();
        else
            ++out_.laterLineRecords;
    }

    // A reference longer than the longest has its text cut to whole
    // pieces that fit.
    void Reference()
    {
        const std::string open = o_.notSearched ? "<CS:Reference><IX->" : "<CS:Reference>";
        const std::string close = std::string(o_.notSearched ? "<IX>" : "") +
                                  (o_.switches.On(RunSwitch::UseHR) ? "<HR>" : "<CR>") + "\r\n</CS>";
        std::string text;
        std::string literal;
        bool pageDone = false;
        for (const char c : o_.refPattern) {
            if (c >= '1' && c <= '7') {
                const std::string& value = out_.levelValues[c - '1'];
                if (value != kNotSet)
                    text += literal + value;
                literal.clear();
            } else if (c == '#') {
                text += literal;
                literal.clear();
                if (!pageDone)
                    text += Page();
                pageDone = true;
            } else {
                literal += c;
            }
        }
        text += literal;
        const std::size_t frame = open.size() + close.size();
        const std::size_t most = o_.longestEarlier > frame ? o_.longestEarlier - frame : 0;
        if (text.size() > most) {
            text.resize(WholePieces(text, most));
            Count(out_.referencesCut, recordAt_);
        }
        Emit(open + text + close);
        ++out_.refCount;
        midLinePage_ = false;
    }

    std::string Page()
    {
        if (page_ == -1) {
            ++out_.pageQuestions;
            page_ = StartingPageModel(o_.startPage.value_or("1"));
        }
        std::string page = std::to_string(page_);
        if (midLinePage_)
            page += "-" + std::to_string(std::int64_t{page_} + 1);
        return page;
    }

    std::string_view in_;
    const ConversionOptions& o_;
    const ReferencePattern pattern_{o_.refPattern};
    std::size_t at_ = 0;
    ConversionOutcome out_;
    std::array<std::string, 7> names_;
    int firstLevel_ = -1;
    bool writes_ = true;
    bool markers_ = false;
    std::size_t hash_ = std::string::npos;
    std::int32_t page_ = -1;
    bool midLinePage_ = false;
    std::size_t recordAt_ = 0;  // right after the current record code
};

}  // namespace

ConversionOutcome ConvertModel(std::string_view input, const ConversionOptions& options)
{
    return ModelPass(input, options).Run();
}

std::int32_t StartingPageModel(std::string_view answer)
{
    const std::size_t start = std::min(answer.find_first_not_of(' '), answer.size());
    std::string_view number = answer.substr(start);
    const bool negative = !number.empty() && number.front() == '-';
    if (!number.empty() && (number.front() == '-' || number.front() == '+'))
        number.remove_prefix(1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
        return 1;
    const std::size_t first = std::min(number.find_first_not_of('0'), number.size());
    const std::string_view significant = number.substr(first);
    if (significant.size() > 10)
        return 1;
    const long long magnitude = significant.empty() ? 0 : std::stoll(std::string(significant));
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return 1;
    return static_cast<std::int32_t>(value);
}

}  // namespace pellimar::fuzz
