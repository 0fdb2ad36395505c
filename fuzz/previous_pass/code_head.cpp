// Reading a code's kind and level name as its text streams by.
#include "previous_pass/code_head.h"

#include "streams/text_util.h"

namespace pellimar::previous {
namespace {

bool IsBlankOrDigit(char c)
{
    return c == ' ' || (c >= '0' && c <= '9');
}

bool IsFieldSeparator(char c)
{
    return c == ',' || c == ';';
}

}  // namespace

CodeHead::CodeHead(std::size_t longestName) : plain_(false, 3 + longestName + 1), withIds_(true, 3 + longestName + 1)
{
}

void CodeHead::Start()
{
    plain_.Start();
    withIds_.Start();
}

void CodeHead::Feed(std::string_view bytes)
{
    for (const char byte : bytes) {
        if (plain_.Done() && withIds_.Done())
            return;
        const char c = ToUpperAscii(byte);
        plain_.Take(c);
        withIds_.Take(c);
    }
}

void CodeHead::Reading::Start()
{
    text_.clear();
    phase_ = Phase::Head;
    commaTaken_ = false;
    fieldEndsAtSeparator_ = false;
    inQuotes_ = false;
}

void CodeHead::Reading::Take(char c)
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
            TakeName(c);
        }
        break;
    case Phase::Name: TakeName(c); break;
    case Phase::Done: break;
    }
}

void CodeHead::Reading::Append(char c)
{
    text_ += c;
    if (phase_ == Phase::Head && text_.size() == 3)
        AfterHead();
    else if (text_.size() >= capacity_)
        phase_ = Phase::Done;
}

// The first three bytes decide: the comma of "RD," goes, once, with the
// blanks and digits after it, and the blanks after "RD:" are not part of
// the name. Any other code needs nothing more.
void CodeHead::Reading::AfterHead()
{
    if (text_ == "RD," && !commaTaken_) {
        text_.pop_back();
        commaTaken_ = true;
        matched_ = 0;
        phase_ = idRecords_ ? Phase::IdPrefix : Phase::SkipNumber;
    } else {
        phase_ = text_ == "RD:" ? Phase::SkipBlanks : Phase::Done;
    }
}

// After "RD,": "ID:" starts an ID; anything else is read as without IDs,
// and once an "I" has come that can only be a plain record code ("RDI...").
void CodeHead::Reading::TakeIdPrefix(char c)
{
    if (matched_ == 0 && c != 'I') {
        phase_ = Phase::SkipNumber;
        Take(c);
        return;
    }
    if (matched_ == 0)
        text_ += c;
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
        text_ = "RD:";
        fieldEndsAtSeparator_ = true;
        phase_ = Phase::SkipBlanks;
    } else if (c == ':' || IsFieldSeparator(c)) {
        phase_ = Phase::Done;
    } else {
        ++matched_;
    }
}

void CodeHead::Reading::TakeName(char c)
{
    if (fieldEndsAtSeparator_ && !inQuotes_ && IsFieldSeparator(c)) {
        phase_ = Phase::Done;
        return;
    }
    if (c == '"')
        inQuotes_ = !inQuotes_;
    Append(c);
}

CodeKind CodeHead::Reading::Kind() const
{
    if (text_.starts_with("RD:"))
        return CodeKind::LevelRecord;
    return text_.starts_with("RD") ? CodeKind::RecordCode : CodeKind::Other;
}

std::string_view CodeHead::Reading::LevelName() const
{
    return Kind() == CodeKind::LevelRecord ? std::string_view(text_).substr(3) : std::string_view();
}

}  // namespace pellimar::previous
