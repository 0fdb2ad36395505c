// Finding an earlier run's reference frame ahead of where the pass stands.
#include "engine/earlier_reference.h"

#include <algorithm>
#include <string_view>

#include "streams/buffer_stream.h"

namespace pellimar {
namespace {

constexpr std::string_view kOpen = "<CS:Reference>";
constexpr std::string_view kEnd = "\r\n</CS>";
constexpr std::size_t kCloseLength = 4;  // "<CR>" or "<HR>", just before the end
constexpr std::size_t kFirstPiece = 256;

std::string_view TextOf(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

// The bytes after the place looked at: from the input itself, past its
// block as far as asked, or from what the caller holds.
class EarlierReferenceFinder::Look {
public:
    Look(TS_BufferStream& input, std::vector<std::uint8_t>& copied) : input_(&input), copied_(&copied) {}
    explicit Look(std::span<const std::uint8_t> held) : held_(held) {}

    // Fewer than asked where the bytes run out.
    std::span<const std::uint8_t> Get(std::size_t from, std::size_t to)
    {
        const std::span<const std::uint8_t> block = input_ != nullptr ? input_->ReadAhead() : held_;
        if (block.size() >= to || input_ == nullptr)
            return block.subspan(std::min(from, block.size()), std::min(to, block.size()) - std::min(from, block.size()));
        if (copied_->size() < to - from)
            copied_->resize(to - from);
        return {copied_->data(), input_->CopyAhead(from, std::span(*copied_).first(to - from))};
    }
    std::size_t Within() const { return input_ != nullptr ? input_->ReadAhead().size() : held_.size(); }
    // Running out means the input ends.
    bool Whole() const { return input_ != nullptr; }

private:
    TS_BufferStream* input_ = nullptr;
    std::vector<std::uint8_t>* copied_ = nullptr;
    std::span<const std::uint8_t> held_;
};

EarlierFrameMatch EarlierReferenceFinder::At(TS_BufferStream& input)
{
    Look look(input, copied_);
    return Match(look, input.ReadPosition()).value_or(EarlierFrameMatch{});
}

std::optional<EarlierFrameMatch> EarlierReferenceFinder::Within(std::span<const std::uint8_t> bytes,
                                                                std::int64_t position)
{
    Look look(bytes);
    return Match(look, position);
}

std::optional<EarlierFrameMatch> EarlierReferenceFinder::Match(Look& look, std::int64_t at)
{
    const std::string_view head = TextOf(look.Get(0, kOpen.size()));
    if (head != kOpen.substr(0, head.size()))
        return EarlierFrameMatch{};
    if (head.size() < kOpen.size())
        return look.Whole() ? std::optional(EarlierFrameMatch{}) : std::nullopt;
    const auto longest = static_cast<std::int64_t>(longest_);
    const std::int64_t textStart = at + static_cast<std::int64_t>(kOpen.size());
    switch (FirstEnd(look, at, textStart, at + longest - static_cast<std::int64_t>(kEnd.size()))) {
    case Search::Unknown: return std::nullopt;
    case Search::NotWithin: {
        // A frame may still end further on, unless the input ends first.
        if (!look.Get(longest_, longest_ + 1).empty())
            return EarlierFrameMatch{EarlierFrame::TooLong, 0};
        return look.Whole() ? std::optional(EarlierFrameMatch{}) : std::nullopt;
    }
    case Search::Found: break;
    }
    const std::int64_t closeAt = endAt_ - static_cast<std::int64_t>(kCloseLength);
    if (closeAt < textStart)
        return EarlierFrameMatch{};
    const std::string_view close =
        TextOf(look.Get(static_cast<std::size_t>(closeAt - at), static_cast<std::size_t>(endAt_ - at)));
    if (close != "<CR>" && close != "<HR>")
        return EarlierFrameMatch{};
    return EarlierFrameMatch{EarlierFrame::Found, static_cast<std::size_t>(endAt_ - at) + kEnd.size()};
}

// Where the first "\r\n</CS>" starts from `from` up to `last` (positions in
// the input; `at` is where the frame would start): Found leaves it in
// endAt_.
EarlierReferenceFinder::Search EarlierReferenceFinder::FirstEnd(Look& look, std::int64_t at, std::int64_t from,
                                                                std::int64_t last)
{
    const bool continues = searchedFrom_ <= from && from <= searchedTo_ && (endAt_ < 0 || endAt_ >= from);
    if (!continues) {
        searchedFrom_ = searchedTo_ = from;
        endAt_ = -1;
    }
    if (endAt_ < 0 && searchedTo_ <= last && !SearchFurther(look, at, last))
        return Search::Unknown;
    return endAt_ >= 0 && endAt_ <= last ? Search::Found : Search::NotWithin;
}

// A real reference ends within a few hundred bytes: the search looks at
// what is at hand first, and past it at pieces that grow, so that what is
// copied from past the block stays near what the frame needs. False when
// the bytes at hand ran out before the search could finish.
bool EarlierReferenceFinder::SearchFurther(Look& look, std::int64_t at, std::int64_t last)
{
    const auto needed = static_cast<std::size_t>(last - at) + kEnd.size();
    for (std::size_t piece = kFirstPiece;; piece *= 2) {
        const auto from = static_cast<std::size_t>(searchedTo_ - at);
        const std::size_t to = std::min(needed, std::max(from + piece, look.Within()));
        const std::string_view bytes = TextOf(look.Get(from, to));
        const std::size_t found = bytes.find(kEnd);
        if (found != std::string_view::npos) {
            endAt_ = searchedTo_ + static_cast<std::int64_t>(found);
            searchedTo_ = endAt_ + 1;
            return true;
        }
        // Every position with a whole end's room before the bytes ran out.
        if (bytes.size() >= kEnd.size())
            searchedTo_ += static_cast<std::int64_t>(bytes.size() - kEnd.size() + 1);
        if (to == needed)
            return true;
        if (bytes.size() < to - from)
            return look.Whole();
    }
}

}  // namespace pellimar
