// Reading a code's kind and level name, in the pieces its text comes in:
// each phase takes what it can of a piece in a loop of its own, and the
// next piece goes on where it stopped.
#include "engine/code_head.h"

#include <algorithm>
#include <cstring>

#include "streams/byte_scan.h"

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

// "RD,ID:" and no ":" after it: a record code however it is read, as no
// level name can follow. Most records of a file with IDs are these.
bool IsIdRecordWithoutLevel(std::string_view text)
{
    if (text.size() < 6 || !IsAsciiLetter(text[0], 'R') || !IsAsciiLetter(text[1], 'D') || text[2] != ',' ||
        !IsAsciiLetter(text[3], 'I') || !IsAsciiLetter(text[4], 'D') || text[5] != ':')
        return false;
    const auto* const end = reinterpret_cast<const std::uint8_t*>(text.data() + text.size());
    return FindByte(reinterpret_cast<const std::uint8_t*>(text.data() + 6), end, ':') == end;
}

}  // namespace

CodeHead::CodeHead(std::size_t longestName) : capacity_(3 + longestName + 1), text_(capacity_), written_(capacity_) {}

void CodeHead::Start()
{
    Reset();
}

[[gnu::always_inline]] inline void CodeHead::Reset()
{
    text_.Clear();
    written_.Clear();
    knownName_ = nullptr;
    phase_ = Phase::Head;
    commaTaken_ = false;
    parted_ = false;
    inQuotes_ = false;
    matched_ = 0;
}

// The phases come in the order of the text, but for the head, read once
// more after "RD," and its number: each takes what it can of the piece and
// leaves the rest to those after it, so a whole code is read in one sweep,
// and a piece that ends inside a phase leaves it to the next piece.
void CodeHead::Feed(std::string_view bytes, bool last)
{
    TakePhases(bytes, last);
}

// A code's text at once, the first bytes of the code and the last.
void CodeHead::ReadWhole(std::string_view text)
{
    if (IsIdRecordWithoutLevel(text)) {
        kinds_ = {CodeKind::RecordCode, CodeKind::RecordCode};
        return;
    }
    Reset();
    TakePhases(text, true);
}

[[gnu::always_inline]] inline void CodeHead::TakePhases(std::string_view bytes, bool last)
{
    std::size_t at = TakeHead(bytes, 0);
    at = TakeAfterComma(bytes, at);
    at = TakeHead(bytes, at);
    at = TakeIdPrefix(bytes, at);
    at = TakeIdName(bytes, at);
    at = TakeBlanks(bytes, at);
    TakeName(bytes, at, last);
    if (last && phase_ == Phase::Name)
        KeepKnownName();
    Settle();
}

// The head's three bytes, upper-cased.
inline std::size_t CodeHead::TakeHead(std::string_view bytes, std::size_t at)
{
    if (phase_ != Phase::Head)
        return at;
    const std::size_t n = bytes.size();
    if (text_.Size() == 0 && n - at >= 3) {
        const char head[3] = {ToUpperAscii(bytes[at]), ToUpperAscii(bytes[at + 1]), ToUpperAscii(bytes[at + 2])};
        text_.Assign({head, 3});
        at += 3;
    }
    while (at < n && text_.Size() < 3)
        text_.Push(ToUpperAscii(bytes[at++]));
    if (text_.Size() == 3)
        AfterHead();
    return at;
}

// "RD,I" may begin an ID; any other byte after "RD," a number, blanks and
// digits, after which the head is read on.
inline std::size_t CodeHead::TakeAfterComma(std::string_view bytes, std::size_t at)
{
    const std::size_t n = bytes.size();
    if (phase_ == Phase::AfterComma && at < n) {
        if (ToUpperAscii(bytes[at]) == 'I') {
            parted_ = true;
            text_.Push('I');
            matched_ = 1;
            phase_ = Phase::IdPrefix;
            return at + 1;
        }
        phase_ = Phase::SkipNumber;
    }
    if (phase_ != Phase::SkipNumber)
        return at;
    while (at < n && IsBlankOrDigit(bytes[at]))
        ++at;
    if (at < n)
        phase_ = Phase::Head;
    return at;
}

// The blanks before a level's name.
inline std::size_t CodeHead::TakeBlanks(std::string_view bytes, std::size_t at)
{
    if (phase_ != Phase::SkipBlanks)
        return at;
    while (at < bytes.size() && bytes[at] == ' ')
        ++at;
    if (at < bytes.size())
        phase_ = Phase::Name;
    return at;
}

// The first three bytes decide: the comma of "RD," goes, once, with the
// blanks and digits after it, and the blanks after "RD:" are not part of
// the name. Any other code needs nothing more.
void CodeHead::AfterHead()
{
    const std::string_view head = text_.View();
    const bool rd = head[0] == 'R' && head[1] == 'D';
    if (rd && head[2] == ',' && !commaTaken_) {
        text_.Pop();
        commaTaken_ = true;
        phase_ = Phase::AfterComma;
    } else {
        phase_ = rd && head[2] == ':' ? Phase::SkipBlanks : Phase::Done;
    }
}

// The rest of "ID:" after its "I"; anything else leaves a record code.
inline std::size_t CodeHead::TakeIdPrefix(std::string_view bytes, std::size_t at)
{
    if (phase_ != Phase::IdPrefix)
        return at;
    // Mostly the whole of it is at hand.
    if (matched_ == 1 && bytes.size() - at >= 2 && ToUpperAscii(bytes[at]) == 'D' && bytes[at + 1] == ':') {
        matched_ = 0;
        phase_ = Phase::IdName;
        return at + 2;
    }
    for (; at < bytes.size(); ++at) {
        if (ToUpperAscii(bytes[at]) != "ID:"[matched_]) {
            phase_ = Phase::Done;
            return at;
        }
        if (++matched_ == 3) {
            matched_ = 0;
            phase_ = Phase::IdName;
            return at + 1;
        }
    }
    return at;
}

// The ID, up to the ":" that ends it; an empty one, or a field separator,
// leaves a record code.
inline std::size_t CodeHead::TakeIdName(std::string_view bytes, std::size_t at)
{
    if (phase_ != Phase::IdName)
        return at;
    const std::size_t from = at;
    while (at < bytes.size() && bytes[at] != ':' && !IsFieldSeparator(bytes[at]))
        ++at;
    matched_ += at - from;
    if (at == bytes.size())
        return at;
    if (bytes[at] == ':' && matched_ > 0) {
        text_.Assign("RD:");
        phase_ = Phase::SkipBlanks;
        return at + 1;
    }
    phase_ = Phase::Done;
    return at;
}

// The name is taken upper-cased and as written in one loop: level records
// are many in a file with headings. A name seen before, which the piece
// holds to the code's end, is taken whole.
inline std::size_t CodeHead::TakeName(std::string_view bytes, std::size_t at, bool last)
{
    if (phase_ != Phase::Name || at == bytes.size())
        return at;
    if (last && written_.Size() == 0 && bytes.size() - at <= capacity_ - text_.Size() &&
        FindKnownName(bytes.substr(at))) {
        phase_ = Phase::Done;
        return bytes.size();
    }
    // The name's bytes in this piece: up to a field separator outside
    // quotes, or as many as the name can still hold.
    const std::size_t limit = std::min(bytes.size(), at + (capacity_ - text_.Size()));
    bool inQuotes = inQuotes_;
    std::size_t end = at;
    for (; end < limit; ++end) {
        const char c = bytes[end];
        if (c == '"')
            inQuotes = !inQuotes;
        else if (!inQuotes && IsFieldSeparator(c))
            break;
    }
    inQuotes_ = inQuotes;
    const std::size_t count = end - at;
    char8_t* const upper = text_.Grow(count);
    char8_t* const written = written_.Grow(count);
    for (std::size_t i = 0; i < count; ++i) {
        written[i] = static_cast<char8_t>(bytes[at + i]);
        upper[i] = static_cast<char8_t>(ToUpperAscii(bytes[at + i]));
    }
    if (end < bytes.size())
        phase_ = Phase::Done;
    return end;
}

void CodeHead::Settle()
{
    const std::string_view text = text_.View();
    CodeKind kind = CodeKind::Other;
    if (text.size() >= 2 && text[0] == 'R' && text[1] == 'D')
        kind = text.size() >= 3 && text[2] == ':' ? CodeKind::LevelRecord : CodeKind::RecordCode;
    kinds_ = {parted_ ? CodeKind::RecordCode : kind, kind};
}

bool CodeHead::FindKnownName(std::string_view rest)
{
    for (const KnownName& known : known_) {
        if (known.written.size() == rest.size() && std::memcmp(known.written.data(), rest.data(), rest.size()) == 0) {
            knownName_ = &known;
            return true;
        }
    }
    return false;
}

// A name that ran to the end of its code, whole.
void CodeHead::KeepKnownName()
{
    KnownName& known = known_[nextKnown_];
    nextKnown_ = (nextKnown_ + 1) % known_.size();
    known.written.assign(written_.View());
    known.upper.assign(text_.View().substr(3));
}

std::string_view CodeHead::LevelName(bool idRecords) const
{
    if (Kind(idRecords) != CodeKind::LevelRecord)
        return {};
    return knownName_ != nullptr ? std::string_view(knownName_->upper) : text_.View().substr(3);
}

std::string_view CodeHead::WrittenLevelName(bool idRecords) const
{
    if (Kind(idRecords) != CodeKind::LevelRecord)
        return {};
    return knownName_ != nullptr ? std::string_view(knownName_->written) : written_.View();
}

}  // namespace pellimar
