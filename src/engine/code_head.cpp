// Reading a code's kind and level name as its text streams by.
#include "engine/code_head.h"

#include "streams/text_util.h"

namespace pellimar {
namespace {

bool IsBlankOrDigit(char c)
{
    return c == ' ' || (c >= '0' && c <= '9');
}

}  // namespace

void CodeHead::Start()
{
    text_.clear();
    phase_ = Phase::Head;
    commaTaken_ = false;
}

void CodeHead::Feed(std::string_view bytes)
{
    for (const char c : bytes) {
        if (phase_ == Phase::Full)
            return;
        Take(ToUpperAscii(c));
    }
}

void CodeHead::Take(char c)
{
    switch (phase_) {
    case Phase::SkipNumber:
        if (IsBlankOrDigit(c))
            return;
        break;
    case Phase::SkipBlanks:
        if (c == ' ')
            return;
        phase_ = Phase::Rest;
        break;
    default:
        break;
    }
    if (phase_ == Phase::SkipNumber)
        phase_ = Phase::Head;
    text_ += c;
    if (phase_ == Phase::Head && text_.size() == 3)
        AfterHead();
    else if (text_.size() >= capacity_)
        phase_ = Phase::Full;
}

// The first three bytes decide: the comma of "RD," goes, once, with the
// blanks and digits after it, and the blanks after "RD:" are not part of
// the name. Any other code needs nothing more.
void CodeHead::AfterHead()
{
    if (text_ == "RD," && !commaTaken_) {
        text_.pop_back();
        commaTaken_ = true;
        phase_ = Phase::SkipNumber;
    } else {
        phase_ = text_ == "RD:" ? Phase::SkipBlanks : Phase::Full;
    }
}

CodeKind CodeHead::Kind() const
{
    if (text_.starts_with("RD:"))
        return CodeKind::LevelRecord;
    return text_.starts_with("RD") ? CodeKind::RecordCode : CodeKind::Other;
}

std::string_view CodeHead::LevelName() const
{
    return Kind() == CodeKind::LevelRecord ? std::string_view(text_).substr(3) : std::string_view();
}

}  // namespace pellimar
