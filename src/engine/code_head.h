// What the pass needs to know of a code's text: whether the code is a record
// code, and for a level record the name of its level. A code can be any
// length and may reach past the bytes at hand, so its text is read in the
// pieces it comes in, with what was made of it kept between them; only as
// much of it is held as can still make a difference.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "streams/text_util.h"

namespace pellimar {

enum class CodeKind : std::uint8_t { Other, RecordCode, LevelRecord };

// Read upper-cased: "RD," followed by blanks and digits reads as "RD"
// («RD,12:BOOK» is «RD:BOOK», «RD, 5» is «RD»); "RD:" then names a level,
// after leading blanks; any other code that begins "RD" is a record code.
// The name ends at the first "," or ";" outside double quotes, where Folio
// puts the record's attributes: «RD:Heading,CH» names the level HEADING.
//
// With ID record levels, as later Folio versions write them, a code that
// begins "RD,ID:", an ID of at least one byte none of which is ":", "," or
// ";", and a ":" names the level that follows, read the same way:
// «RD,ID:7:Chapter,CH» reads as «RD:CHAPTER». Without them such a code is a
// record code. The two readings part only after "RD,I", so one reading
// serves both, and the switch can be read when the code is examined.
class CodeHead {
public:
    // `longestName`: the longest level name; a longer name matches none.
    explicit CodeHead(std::size_t longestName = 0);

    // Whether a code whose text begins with these two bytes can be a record
    // code or a level record: no other code needs to be read.
    static bool MayBeRecordCode(std::uint8_t first, std::uint8_t second)
    {
        // Asked of every code: both bytes in one comparison, each folded to
        // lower case as IsAsciiLetter folds it.
        const unsigned both = (first | (unsigned{second} << 8)) | 0x2020u;
        return both == ('r' | (unsigned{'d'} << 8));
    }

    // Forgets the last code.
    void Start();
    // The next bytes of the code's text (between "<" and ">"); `last`: the
    // text ends with them.
    void Feed(std::string_view bytes, bool last = false);
    // A whole code's text at once. Made where it is called, for "RD" alone,
    // the common record code.
    void Read(std::string_view text)
    {
        if (text.size() == 2 &&
            MayBeRecordCode(static_cast<std::uint8_t>(text[0]), static_cast<std::uint8_t>(text[1]))) {
            // Nothing but the kind is asked of a record code.
            kinds_ = {CodeKind::RecordCode, CodeKind::RecordCode};
            return;
        }
        ReadWhole(text);
    }

    // "RD" alone, which MayBeRecordCode has told.
    void ReadRecordCode() { kinds_ = {CodeKind::RecordCode, CodeKind::RecordCode}; }
    // A code that MayBeRecordCode has told is neither, read no further.
    void ReadOther() { kinds_ = {CodeKind::Other, CodeKind::Other}; }

    CodeKind Kind(bool idRecords) const { return kinds_[idRecords ? 1 : 0]; }
    // The level a level record names, upper-cased, trailing blanks and
    // quotes kept; a name longer than any level name may be cut short.
    std::string_view LevelName(bool idRecords) const;
    // The same name as the code writes it, letter case kept.
    std::string_view WrittenLevelName(bool idRecords) const;

private:
    // Bytes up to a fixed length, set anew at every code without a string's
    // bookkeeping; the caller never gives more than the capacity. Held as
    // char8_t, which unlike char aliases nothing else: a byte stored is then
    // known to leave the reading's other fields as they were.
    class Held {
    public:
        explicit Held(std::size_t capacity) : bytes_(capacity, u8'\0') {}
        void Clear() { length_ = 0; }
        void Assign(std::string_view text)
        {
            for (std::size_t i = 0; i < text.size(); ++i)
                bytes_[i] = static_cast<char8_t>(text[i]);
            length_ = text.size();
        }
        void Push(char c) { bytes_[length_++] = static_cast<char8_t>(c); }
        // Room for `count` more bytes, to be filled by the caller.
        char8_t* Grow(std::size_t count)
        {
            char8_t* const at = bytes_.data() + length_;
            length_ += count;
            return at;
        }
        void Pop() { --length_; }
        std::size_t Size() const { return length_; }
        std::string_view View() const { return {reinterpret_cast<const char*>(bytes_.data()), length_}; }

    private:
        std::u8string bytes_;
        std::size_t length_ = 0;
    };

    enum class Phase : std::uint8_t { Head, AfterComma, SkipNumber, IdPrefix, IdName, SkipBlanks, Name, Done };

    void Reset();
    void ReadWhole(std::string_view text);
    void TakePhases(std::string_view bytes, bool last);
    std::size_t TakeHead(std::string_view bytes, std::size_t at);
    void AfterHead();
    std::size_t TakeAfterComma(std::string_view bytes, std::size_t at);
    std::size_t TakeBlanks(std::string_view bytes, std::size_t at);
    std::size_t TakeIdPrefix(std::string_view bytes, std::size_t at);
    std::size_t TakeIdName(std::string_view bytes, std::size_t at);
    std::size_t TakeName(std::string_view bytes, std::size_t at, bool last);
    void Settle();

    // The last few names read that ran to the end of their code, as written
    // and upper-cased: a file's level records name few levels, so most names
    // are found here without reading them byte by byte.
    struct KnownName {
        std::string written;
        std::string upper;
    };
    bool FindKnownName(std::string_view rest);
    void KeepKnownName();

    std::size_t capacity_;
    Held text_;     // upper-cased: the head, and a level record's name
    Held written_;  // the name, letter case kept
    std::array<KnownName, 8> known_;
    std::size_t nextKnown_ = 0;
    // The known name this code's is, when it is one: `text_` then holds
    // only what comes before the name, and `written_` nothing.
    const KnownName* knownName_ = nullptr;
    Phase phase_ = Phase::Head;
    // The code read without and with ID record levels.
    std::array<CodeKind, 2> kinds_{};
    bool commaTaken_ = false;
    // "RD,I" began the code: read without ID record levels it is a record
    // code, and the reading goes on as with them.
    bool parted_ = false;
    bool inQuotes_ = false;
    std::size_t matched_ = 0;  // of "ID:", or the ID's length
};

}  // namespace pellimar
