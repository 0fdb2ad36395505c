// Reading an earlier run's reference frame from the bytes at hand.
#include "engine/earlier_reference.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "streams/byte_scan.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

constexpr std::string_view kOpen = kFrameOpen;
constexpr std::string_view kEnd = "\r\n</CS>";
constexpr std::string_view kNotSearchedOpen = "<IX->";
constexpr std::string_view kNotSearchedClose = "<IX>";

std::string_view TextOf(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool IsLineBreak(std::uint8_t byte)
{
    return byte == '\r' || byte == '\n';
}

// A code that no reference's text can hold: a record code, or the codes
// that open and close a frame. `text` may be the first bytes of a longer one.
bool ClosesOrOpensAFrame(std::string_view text)
{
    for (const std::string_view head : {std::string_view("RD"), std::string_view("CS:"), std::string_view("/CS")}) {
        if (text.size() >= head.size() && EqualsIgnoreAsciiCase(text.substr(0, head.size()), head))
            return true;
    }
    return false;
}

}  // namespace

std::optional<EarlierFrameMatch> ReadFrame(std::span<const std::uint8_t> bytes)
{
    if (const std::size_t length = PlainFrameLength(bytes))
        return EarlierFrameMatch{EarlierFrame::Found, length};
    return ReadFrameAfterAll(bytes);
}

std::optional<EarlierFrameMatch> ReadFrameAfterAll(std::span<const std::uint8_t> bytes)
{
    const std::string_view text = TextOf(bytes);
    if (text.substr(0, kOpen.size()) != kOpen.substr(0, std::min(text.size(), kOpen.size())))
        return EarlierFrameMatch{};
    const EarlierFrameMatch lookAlike{EarlierFrame::LookAlike, 0};
    const std::uint8_t* const start = bytes.data();
    const std::uint8_t* const end = start + bytes.size();
    const std::uint8_t* at = start + std::min(kOpen.size(), bytes.size());
    // "<IX->" opens the text exactly when "<IX>" ends it.
    const bool opensNotSearched = TextOf({at, static_cast<std::size_t>(end - at)}).starts_with(kNotSearchedOpen);
    // Where the last two codes of the text began, and the byte after the
    // last one's ">".
    const std::uint8_t* codeBeforeLast = nullptr;
    const std::uint8_t* lastCode = nullptr;
    const std::uint8_t* afterLastCode = nullptr;
    while (true) {
        const std::uint8_t* const next = FindAnyOfThree(at, end, '<', '\r', '\n');
        if (next == end)
            return std::nullopt;
        if (IsLineBreak(*next)) {
            // The first line break ends the frame: right after its "<CR>" or
            // "<HR>" code, and the start of "\r\n</CS>". The last code ends
            // here and may be shorter than those.
            const std::string_view close =
                afterLastCode == next ? TextOf({lastCode, static_cast<std::size_t>(next - lastCode)}) : "";
            if (close != "<CR>" && close != "<HR>")
                return lookAlike;
            const bool closesNotSearched =
                codeBeforeLast != nullptr &&
                TextOf({codeBeforeLast, static_cast<std::size_t>(lastCode - codeBeforeLast)}) == kNotSearchedClose;
            if (opensNotSearched != closesNotSearched)
                return lookAlike;
            const auto left = static_cast<std::size_t>(end - next);
            const std::string_view tail = TextOf({next, std::min(left, kEnd.size())});
            if (tail != kEnd.substr(0, tail.size()))
                return lookAlike;
            if (tail.size() < kEnd.size())
                return std::nullopt;
            return EarlierFrameMatch{EarlierFrame::Found, static_cast<std::size_t>(next - start) + kEnd.size()};
        }
        if (end - next < 2)
            return std::nullopt;
        if (next[1] == '<') {
            at = next + 2;
            continue;
        }
        const std::uint8_t* const close = FindAnyOfThree(next + 1, end, '>', '\r', '\n');
        const std::string_view code = TextOf({next + 1, static_cast<std::size_t>(close - next - 1)});
        if (ClosesOrOpensAFrame(code) || (close != end && *close != '>'))
            return lookAlike;
        if (close == end)
            return std::nullopt;
        codeBeforeLast = afterLastCode == next ? lastCode : nullptr;
        lastCode = next;
        afterLastCode = close + 1;
        at = close + 1;
    }
}

}  // namespace pellimar
