// The reference pattern, taken apart once: the digits "1" to "7" stand for
// the headings of levels 1 to 7, "#" for the page, and every other byte
// (including "0", "8" and "9") for itself. Everything that reads a pattern's
// tokens asks this value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_settings.h"

namespace pellimar {

// One piece of the pattern: literal text, then the level digit or "#" that
// ends it (or nothing, for the pattern's trailing text).
struct RefPiece {
    std::string literal;
    char ender = 0;
};

// A token of the pattern whose source the run lacks, and why.
struct MissingSource {
    char token = 0;
    std::string reason;
};

class ReferencePattern {
public:
    ReferencePattern() = default;
    explicit ReferencePattern(std::string_view text);

    const std::string& Text() const { return text_; }
    const std::vector<RefPiece>& Pieces() const { return pieces_; }
    // The first level the pattern names, 0 for level 1; -1 when it names
    // none. References are due once that level has a heading.
    int FirstLevel() const { return firstLevel_; }
    // The last level the pattern names, or -1: deeper levels change nothing
    // it shows.
    int DeepestLevel() const { return deepestLevel_; }
    bool ShowsPage() const { return showsPage_; }

    // The first token without its source: "#" with an empty page-number
    // pattern, a level digit whose level has no name. Nothing when every
    // token has one (an empty pattern has none to lack).
    std::optional<MissingSource> Missing(std::string_view pagePattern, const LevelList& levelNames) const;

    // Appends the pattern filled in with the level values and the page text;
    // returns where in `text` the page stands, or npos when the pattern shows
    // none. A level without a value leaves out its piece, the literal text
    // before its digit included; only the first "#" shows the page, and
    // later ones keep the text before them.
    std::size_t Fill(const LevelList& values, std::string_view page, std::string& text) const;

private:
    std::string text_;
    std::vector<RefPiece> pieces_;
    int firstLevel_ = -1;
    int deepestLevel_ = -1;
    bool showsPage_ = false;
};

}  // namespace pellimar
