// What the pass needs to know of a code's text, gathered as the text streams
// by to the output: whether the code is a record code, and for a level
// record the name of its level. A code can be any length; only as much of
// it is held as can still make a difference.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pellimar {

enum class CodeKind { Other, RecordCode, LevelRecord };

// Read upper-cased: "RD," followed by blanks and digits reads as "RD"
// («RD,12:BOOK» is «RD:BOOK», «RD, 5» is «RD»); "RD:" then names a level,
// after leading blanks; any other code that begins "RD" is a record code.
// The name ends at the first "," or ";" outside double quotes, where Folio
// puts the record's attributes: «RD:Heading,CH» names the level HEADING.
//
// With ID record levels, as later Folio versions write them, a code that
// begins "RD,ID:", an ID of at least one byte none of which is ":", "," or
// ";", and a ":" names the level that follows, read the same way:
// «RD,ID:7:Chapter,CH» reads as «RD:CHAPTER». Both readings are kept, so
// the switch can be read when the code is examined.
class CodeHead {
public:
    // `longestName`: the longest level name; a longer name matches none.
    explicit CodeHead(std::size_t longestName = 0);

    // Forgets the last code.
    void Start();
    // The next bytes of the code's text (between "<" and ">").
    void Feed(std::string_view bytes);
    // A whole code's text at once: the same as Start and Feed, read in a few
    // loops rather than byte by byte. With `onlyWithIds` only the reading
    // with ID record levels is made, and only that one may be asked.
    void Read(std::string_view text, bool onlyWithIds = false);

    CodeKind Kind(bool idRecords) const { return Of(idRecords).Kind(); }
    // The level a level record names, upper-cased, trailing blanks and
    // quotes kept; a name longer than any level name may be cut short.
    std::string_view LevelName(bool idRecords) const { return Of(idRecords).LevelName(); }
    // The same name as the code writes it, letter case kept.
    std::string_view WrittenLevelName(bool idRecords) const { return Of(idRecords).WrittenLevelName(); }

private:
    // Bytes up to a fixed length, set anew at every code without a string's
    // bookkeeping; the caller never gives more than the capacity.
    class Held {
    public:
        explicit Held(std::size_t capacity) : bytes_(capacity, '\0') {}
        void Clear() { length_ = 0; }
        void Assign(std::string_view text)
        {
            text.copy(bytes_.data(), text.size());
            length_ = text.size();
        }
        void Push(char c) { bytes_[length_++] = c; }
        void Pop() { --length_; }
        // Room for `count` more bytes, written by the caller.
        char* Grow(std::size_t count)
        {
            length_ += count;
            return bytes_.data() + length_ - count;
        }
        // Gives back the last `count` bytes of the room grown.
        void Shrink(std::size_t count) { length_ -= count; }
        std::size_t Size() const { return length_; }
        std::string_view View() const { return {bytes_.data(), length_}; }

    private:
        std::string bytes_;
        std::size_t length_ = 0;
    };

    class Reading {
    public:
        Reading(bool idRecords, std::size_t capacity)
            : idRecords_(idRecords), capacity_(capacity), text_(capacity), written_(capacity)
        {
        }
        void Start();
        void Take(char c, char written);
        void ReadWhole(std::string_view code);
        // Read as a record code that names no level.
        void SetRecordCode();
        bool Done() const { return phase_ == Phase::Done; }
        CodeKind Kind() const;
        std::string_view LevelName() const;
        std::string_view WrittenLevelName() const;

    private:
        enum class Phase { Head, SkipNumber, IdPrefix, IdName, SkipBlanks, Name, Done };

        void Append(char c);
        void AfterHead();
        void TakeIdPrefix(char c);
        void TakeIdName(char c);
        void TakeName(char c, char written);
        void ReadName(std::string_view code, std::size_t at);

        // The last few names read that ran to the end of their code, as
        // written and upper-cased: a file's level records name few levels,
        // so most names are found here without reading them byte by byte.
        struct KnownName {
            std::string written;
            std::string upper;
        };
        bool FindKnownName(std::string_view rest);
        void KeepKnownName(std::string_view written, std::string_view upper);

        bool idRecords_;
        std::size_t capacity_;
        Held text_;
        Held written_;  // the name, letter case kept
        std::array<KnownName, 8> known_;
        std::size_t nextKnown_ = 0;
        // The known name this code's is, when it is one: `text_` then holds
        // only what comes before the name, and `written_` nothing.
        const KnownName* knownName_ = nullptr;
        Phase phase_ = Phase::Head;
        bool commaTaken_ = false;
        std::size_t matched_ = 0;  // of "ID:", or the ID's length
        bool inQuotes_ = false;
    };

    const Reading& Of(bool idRecords) const { return idRecords && idsDiffer_ ? withIds_ : plain_; }

    Reading plain_;
    Reading withIds_;
    // The two readings part only after "RD,I"; a code read whole that does
    // not begin so is read once.
    bool idsDiffer_ = true;
};

}  // namespace pellimar
