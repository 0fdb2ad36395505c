// A reference that an earlier run wrote right after a record code, found
// before any of it is taken: exactly the frame this program writes,
// "<CS:Reference>", the reference's text (which may stand between "<IX->"
// and "<IX>"), "<CR>" or "<HR>", and "\r\n</CS>", where the text holds no
// "\r\n</CS>".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pellimar {

class TS_BufferStream;

enum class EarlierFrame {
    None,     // no frame starts here
    Found,    // one does, `length` bytes long
    TooLong,  // "<CS:Reference>" starts here, but no frame ends within the longest one looked for
};

struct EarlierFrameMatch {
    EarlierFrame kind = EarlierFrame::None;
    std::size_t length = 0;
};

class EarlierReferenceFinder {
public:
    // A frame is looked for up to `longest` bytes: no input makes the finder
    // hold more than that.
    explicit EarlierReferenceFinder(std::size_t longest) : longest_(longest) {}

    // At the input's read position, looking past the block as far as needed.
    EarlierFrameMatch At(TS_BufferStream& input);
    // At the start of `bytes`, which stand at `position` in the input;
    // nothing when the input may go on after them and they are too few to
    // tell.
    std::optional<EarlierFrameMatch> Within(std::span<const std::uint8_t> bytes, std::int64_t position);

private:
    class Look;
    enum class Search { Found, NotWithin, Unknown };

    std::optional<EarlierFrameMatch> Match(Look& look, std::int64_t at);
    Search FirstEnd(Look& look, std::int64_t at, std::int64_t from, std::int64_t last);
    bool SearchFurther(Look& look, std::int64_t at, std::int64_t last);

    std::size_t longest_;
    std::vector<std::uint8_t> copied_;
    // What the search for the frame's end already knows, so that frames
    // looked for after one record code after another over the same bytes
    // do not read them again: of the positions from searchedFrom_ up to
    // searchedTo_ where an end might start, the first that does (-1: none).
    std::int64_t searchedFrom_ = 0;
    std::int64_t searchedTo_ = 0;
    std::int64_t endAt_ = -1;
};

}  // namespace pellimar
