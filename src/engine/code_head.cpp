// Reading a code's kind and level name as its text streams by.
#include "engine/code_head.h"

#include <algorithm>
#include <cstring>

#include "streams/byte_scan.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

bool IsBlankOrDigit(char c)
{
    return c == ' ' || (c >= '0' && c <= '9');
}

bool IsFieldSeparator(char c)
{
    return c == ',' || c == ';';
}

// "RD" and then `third`, when given, at the start of the text; compared
// byte by byte, as this is asked of every record code.
bool StartsRd(std::string_view text, char third = 0)
{
    if (text.size() < (third != 0 ? 3u : 2u) || text[0] != 'R' || text[1] != 'D')
        return false;
    return third == 0 || text[2] == third;
}

// "RD,ID:" and no ":" after it: a record code of an ID record, whatever
// else it holds, as no level name can follow. Most records of a file with
// IDs are these, so they are told apart before a full reading.
bool IsIdRecordWithoutLevel(std::string_view text)
{
    if (text.size() < 6 || !IsAsciiLetter(text[0], 'R') || !IsAsciiLetter(text[1], 'D') || text[2] != ',' ||
        !IsAsciiLetter(text[3], 'I') || !IsAsciiLetter(text[4], 'D') || text[5] != ':')
        return false;
    const auto* const end = reinterpret_cast<const std::uint8_t*>(text.data() + text.size());
    return FindByte(reinterpret_cast<const std::uint8_t*>(text.data() + 6), end, ':') == end;
}

}  // namespace

CodeHead::CodeHead(std::size_t longestName) : plain_(false, 3 + longestName + 1), withIds_(true, 3 + longestName + 1)
{
}

void CodeHead::Start()
{
    idsDiffer_ = true;
    plain_.Start();
    withIds_.Start();
}

void CodeHead::Feed(std::string_view bytes)
{
    for (const char byte : bytes) {
        if (plain_.Done() && withIds_.Done())
            return;
        const char c = ToUpperAscii(byte);
        plain_.Take(c, byte);
        withIds_.Take(c, byte);
    }
}

void CodeHead::Read(std::string_view text, bool onlyWithIds)
{
    if (onlyWithIds && IsIdRecordWithoutLevel(text)) {
        idsDiffer_ = true;
        withIds_.SetRecordCode();
        return;
    }
    idsDiffer_ = onlyWithIds || (text.size() > 3 && text[2] == ',' && ToUpperAscii(text[3]) == 'I');
    if (!onlyWithIds)
        plain_.ReadWhole(text);
    if (idsDiffer_)
        withIds_.ReadWhole(text);
}

// The phases of Take, each a loop over the whole text; the text is set once,
// from its first bytes and the name.
void CodeHead::Reading::ReadWhole(std::string_view code)
{
    Start();
    phase_ = Phase::Done;
    const std::size_t n = code.size();
    char head[3] = {};
    const std::size_t length = n < 3 ? n : 3;
    for (std::size_t i = 0; i < length; ++i)
        head[i] = ToUpperAscii(code[i]);
    if (length < 3 || head[0] != 'R' || head[1] != 'D' || head[2] != ',') {
        text_.Assign({head, length});
        if (length == 3 && head[0] == 'R' && head[1] == 'D' && head[2] == ':')
            ReadName(code, 3);
        return;
    }
    std::size_t at = 3;
    if (idRecords_ && at < n && ToUpperAscii(code[at]) == 'I') {
        // Until "ID:", an ID and ":" have come, a plain record code.
        text_.Assign("RDI");
        if (++at == n || ToUpperAscii(code[at]) != 'D' || ++at == n || code[at] != ':')
            return;
        const std::size_t id = ++at;
        while (at < n && code[at] != ':' && !IsFieldSeparator(code[at]))
            ++at;
        if (at == n || code[at] != ':' || at == id)
            return;
        text_.Assign("RD:");
        return ReadName(code, at + 1);
    }
    while (at < n && IsBlankOrDigit(code[at]))
        ++at;
    if (at == n) {
        text_.Assign("RD");
        return;
    }
    const char third[3] = {'R', 'D', ToUpperAscii(code[at])};
    text_.Assign({third, 3});
    if (third[2] == ':')
        ReadName(code, at + 1);
}

// The name is taken upper-cased and as written in one loop: level records
// are many in a file with headings.
void CodeHead::Reading::ReadName(std::string_view code, std::size_t at)
{
    while (at < code.size() && code[at] == ' ')
        ++at;
    const std::size_t room = capacity_ > text_.Size() ? capacity_ - text_.Size() : 0;
    if (code.size() - at <= room && FindKnownName(code.substr(at)))
        return;
    const std::size_t end = std::min(code.size(), at + room);
    char* const upper = text_.Grow(end - at);
    char* const written = written_.Grow(end - at);
    const std::size_t start = at;
    bool inQuotes = false;
    for (; at < end; ++at) {
        const char c = code[at];
        if (c == '"')
            inQuotes = !inQuotes;
        else if (!inQuotes && IsFieldSeparator(c))
            break;
        upper[at - start] = ToUpperAscii(c);
        written[at - start] = c;
    }
    text_.Shrink(end - at);
    written_.Shrink(end - at);
    if (at == code.size())
        KeepKnownName({written, at - start}, {upper, at - start});
}

bool CodeHead::Reading::FindKnownName(std::string_view rest)
{
    for (const KnownName& known : known_) {
        if (known.written.size() == rest.size() && std::memcmp(known.written.data(), rest.data(), rest.size()) == 0) {
            knownName_ = &known;
            return true;
        }
    }
    return false;
}

void CodeHead::Reading::KeepKnownName(std::string_view written, std::string_view upper)
{
    KnownName& known = known_[nextKnown_];
    nextKnown_ = (nextKnown_ + 1) % known_.size();
    known.written.assign(written);
    known.upper.assign(upper);
}

void CodeHead::Reading::SetRecordCode()
{
    Start();
    phase_ = Phase::Done;
    text_.Push('R');
    text_.Push('D');
}

void CodeHead::Reading::Start()
{
    knownName_ = nullptr;
    text_.Clear();
    written_.Clear();
    phase_ = Phase::Head;
    commaTaken_ = false;
    inQuotes_ = false;
}

void CodeHead::Reading::Take(char c, char written)
{
    switch (phase_) {
    case Phase::Head: Append(c); break;
    case Phase::SkipNumber:
        if (!IsBlankOrDigit(c)) {
            phase_ = Phase::Head;
            Append(c);
        }
        break;
    case Phase::IdPrefix: TakeIdPrefix(c); break;
    case Phase::IdName: TakeIdName(c); break;
    case Phase::SkipBlanks:
        if (c != ' ') {
            phase_ = Phase::Name;
            TakeName(c, written);
        }
        break;
    case Phase::Name: TakeName(c, written); break;
    case Phase::Done: break;
    }
}

void CodeHead::Reading::Append(char c)
{
    text_.Push(c);
    if (phase_ == Phase::Head && text_.Size() == 3)
        AfterHead();
    else if (text_.Size() >= capacity_)
        phase_ = Phase::Done;
}

// The first three bytes decide: the comma of "RD," goes, once, with the
// blanks and digits after it, and the blanks after "RD:" are not part of
// the name. Any other code needs nothing more.
void CodeHead::Reading::AfterHead()
{
    if (text_.View() == "RD," && !commaTaken_) {
        text_.Pop();
        commaTaken_ = true;
        matched_ = 0;
        phase_ = idRecords_ ? Phase::IdPrefix : Phase::SkipNumber;
    } else {
        phase_ = text_.View() == "RD:" ? Phase::SkipBlanks : Phase::Done;
    }
}

// After "RD,": "ID:" starts an ID; anything else is read as without IDs,
// and once an "I" has come that can only be a plain record code ("RDI...").
void CodeHead::Reading::TakeIdPrefix(char c)
{
    if (matched_ == 0 && c != 'I') {
        phase_ = Phase::SkipNumber;
        Take(c, c);
        return;
    }
    if (matched_ == 0)
        text_.Push(c);
    if (c != "ID:"[matched_]) {
        phase_ = Phase::Done;
        return;
    }
    if (++matched_ == 3) {
        matched_ = 0;
        phase_ = Phase::IdName;
    }
}

void CodeHead::Reading::TakeIdName(char c)
{
    if (c == ':' && matched_ > 0) {
        text_.Assign("RD:");
        phase_ = Phase::SkipBlanks;
    } else if (c == ':' || IsFieldSeparator(c)) {
        phase_ = Phase::Done;
    } else {
        ++matched_;
    }
}

void CodeHead::Reading::TakeName(char c, char written)
{
    if (!inQuotes_ && IsFieldSeparator(c)) {
        phase_ = Phase::Done;
        return;
    }
    if (c == '"')
        inQuotes_ = !inQuotes_;
    written_.Push(written);
    Append(c);
}

CodeKind CodeHead::Reading::Kind() const
{
    if (StartsRd(text_.View(), ':'))
        return CodeKind::LevelRecord;
    return StartsRd(text_.View()) ? CodeKind::RecordCode : CodeKind::Other;
}

std::string_view CodeHead::Reading::LevelName() const
{
    if (Kind() != CodeKind::LevelRecord)
        return {};
    return knownName_ != nullptr ? std::string_view(knownName_->upper) : text_.View().substr(3);
}

std::string_view CodeHead::Reading::WrittenLevelName() const
{
    if (Kind() != CodeKind::LevelRecord)
        return {};
    return knownName_ != nullptr ? std::string_view(knownName_->written) : written_.View();
}

}  // namespace pellimar
