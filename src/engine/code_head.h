// What the pass needs to know of a code's text, gathered as the text streams
// by to the output: whether the code is a record code, and for a level
// record the name of its level. A code can be any length; only as much of
// it is held as can still make a difference.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pellimar {

enum class CodeKind { Other, RecordCode, LevelRecord };

class CodeHead {
public:
    // `longestName`: the longest level name; a longer name matches none.
    explicit CodeHead(std::size_t longestName = 0) : capacity_(3 + longestName + 1) {}

    // Forgets the last code.
    void Start();
    // The next bytes of the code's text (between "<" and ">").
    void Feed(std::string_view bytes);

    // Read upper-cased: "RD," followed by blanks and digits reads as "RD"
    // («RD,12:BOOK» is «RD:BOOK», «RD, 5» is «RD»); "RD:" then names a
    // level, after leading blanks; any other code that begins "RD" is a
    // record code.
    CodeKind Kind() const;
    // The level a level record names, upper-cased, trailing blanks and
    // quotes kept; a name longer than any level name may be cut short.
    std::string_view LevelName() const;

private:
    enum class Phase { Head, SkipNumber, SkipBlanks, Rest, Full };

    void Take(char c);
    void AfterHead();

    std::size_t capacity_;
    std::string text_;
    Phase phase_ = Phase::Head;
    bool commaTaken_ = false;
};

}  // namespace pellimar
