// What the steps of a conversion pass share: the run's record, the byte the
// pass read last and the state it goes on in, the current code, the page,
// the progress points and the places to tell of.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/code_head.h"
#include "engine/noted_places.h"
#include "engine/page_tracker.h"
#include "engine/progress_points.h"
#include "engine/record_opening.h"
#include "engine/run_context.h"
#include "engine/run_host.h"

namespace pellimar {

enum class PassState { Copy, CodeOpen, CodeCheck, Heading, PageMatch, PageCommit };

struct PassWork {
    PassWork(RunContext& run, RunHost& host);

    // Every byte the pass takes comes through these; the input stream itself
    // knows how far it has been read, so nothing is counted by hand.
    // Reads the next byte into ch; false at the end of the input.
    bool Next() { return input.TryReadByte(ch); }
    // Makes ch the next byte read again.
    void Unread() { input.PutBack(ch); }
    // The next byte without taking it; nothing at the end of the input.
    std::optional<std::uint8_t> Peek()
    {
        std::uint8_t next;
        if (!input.TryReadByte(next))
            return std::nullopt;
        input.PutBack(next);
        return next;
    }
    std::int64_t BytesConsumed() const { return input.ReadPosition(); }
    // After a "<": a second "<" makes the two a "<" meant as text, copied as
    // they stand; the pass stays in the text. True when it was so.
    bool TakeEscapedOpen();

    void Write(std::uint8_t byte) { output.WriteChar(byte); }
    void Write(std::string_view text) { output.WriteStr(text); }

    // One more event for the user to be told of, at `position` of the input.
    void Note(Tally& tally, std::int64_t position);

    // The switches, read again only where the host may change them: after
    // a progress report and after the page question.
    void ReadSwitches();

    RunContext& run;
    RunHost& host;
    // The run's streams, which stay the same for the whole pass.
    TS_TextStream& input;
    TS_TextStream& output;

    RunSwitches switches;
    PassState state = PassState::Copy;
    std::uint8_t ch = 0;  // the byte read last
    CodeHead code;        // what the examination needs of the current code
    // The level of the level record whose heading comes next.
    std::string headingLevel;

    PageTracker page;
    ProgressPoints progress;
    NotedPlaces places;

    // For a preview: the lines of the current code and of the record code.
    std::int64_t codeLine = 0;
    std::int64_t recordLine = 0;
    // Where the current record's text begins in the input, right after its
    // record code, for the byte steps: the place of a reference cut to fit.
    std::int64_t recordAt = 0;
};

}  // namespace pellimar
