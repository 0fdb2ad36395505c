// Finding an earlier run's reference frame ahead of the read position.
#include "engine/earlier_reference.h"

#include <algorithm>
#include <string_view>

#include "streams/buffer_stream.h"

namespace pellimar {
namespace {

constexpr std::string_view kOpen = "<CS:Reference>";
constexpr std::string_view kEnd = "\r\n</CS>";
constexpr std::size_t kCloseLength = 4;  // "<CR>" or "<HR>", just before the end

std::string_view TextOf(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

std::span<const std::uint8_t> EarlierReferenceFinder::Ahead(TS_BufferStream& input, std::size_t from, std::size_t to)
{
    const std::span<const std::uint8_t> block = input.ReadAhead();
    if (block.size() >= to)
        return block.subspan(from, to - from);
    copied_.resize(to - from);
    return {copied_.data(), input.CopyAhead(from, copied_)};
}

EarlierFrameMatch EarlierReferenceFinder::At(TS_BufferStream& input)
{
    if (TextOf(Ahead(input, 0, kOpen.size())) != kOpen)
        return {};
    const std::int64_t at = input.ReadPosition();
    const auto longest = static_cast<std::int64_t>(longest_);
    const std::int64_t textStart = at + static_cast<std::int64_t>(kOpen.size());
    const std::optional<std::int64_t> end =
        FirstEnd(input, at, textStart, at + longest - static_cast<std::int64_t>(kEnd.size()));
    if (!end) {
        // A frame may still end further on, unless the input ends first.
        const bool goesOn = !Ahead(input, longest_, longest_ + 1).empty();
        return {goesOn ? EarlierFrame::TooLong : EarlierFrame::None, 0};
    }
    const std::int64_t closeAt = *end - static_cast<std::int64_t>(kCloseLength);
    if (closeAt < textStart)
        return {};
    const std::string_view close =
        TextOf(Ahead(input, static_cast<std::size_t>(closeAt - at), static_cast<std::size_t>(*end - at)));
    if (close != "<CR>" && close != "<HR>")
        return {};
    return {EarlierFrame::Found, static_cast<std::size_t>(*end - at) + kEnd.size()};
}

// The first position from `from` up to `last` (all relative to the start of
// the input) where "\r\n</CS>" starts; `at` is the read position.
std::optional<std::int64_t> EarlierReferenceFinder::FirstEnd(TS_BufferStream& input, std::int64_t at,
                                                             std::int64_t from, std::int64_t last)
{
    const bool continues = searchedFrom_ <= from && from <= searchedTo_ && (endAt_ < 0 || endAt_ >= from);
    if (!continues) {
        searchedFrom_ = searchedTo_ = from;
        endAt_ = -1;
    }
    if (endAt_ < 0 && searchedTo_ <= last)
        SearchFurther(input, at, last);
    if (endAt_ >= 0 && endAt_ <= last)
        return endAt_;
    return std::nullopt;
}

void EarlierReferenceFinder::SearchFurther(TS_BufferStream& input, std::int64_t at, std::int64_t last)
{
    const std::string_view bytes = TextOf(Ahead(input, static_cast<std::size_t>(searchedTo_ - at),
                                                static_cast<std::size_t>(last - at) + kEnd.size()));
    const std::size_t found = bytes.find(kEnd);
    if (found != std::string_view::npos) {
        endAt_ = searchedTo_ + static_cast<std::int64_t>(found);
        searchedTo_ = endAt_ + 1;
        return;
    }
    // Every position with a whole end's room before the bytes ran out.
    if (bytes.size() >= kEnd.size())
        searchedTo_ += static_cast<std::int64_t>(bytes.size() - kEnd.size() + 1);
}

}  // namespace pellimar
