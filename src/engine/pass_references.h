// References in the pass: when one is due, and writing it after a record
// code, with the starting-page question the first time a page is needed.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/levels.h"
#include "engine/pass_work.h"
#include "engine/reference_writer.h"

namespace pellimar {

class PassReferences {
public:
    explicit PassReferences(PassWork& work);

    // Due once the first level the pattern names has a value; a pattern that
    // names no level makes every record's reference due. A run that only
    // takes out earlier references writes none. Asked at every record, so
    // it is made where it is asked.
    bool Due() const
    {
        const int level = run_.RefPattern.FirstLevel();
        return run_.WritesReferences && (level < 0 || !IsNotSet(run_.Levels.values[level]));
    }
    // `taken`: the record's bytes already read past its code. The caller
    // notes a reference that was cut.
    void Write(std::string_view taken);
    // The last reference was cut to the longest one.
    bool Cut() const { return writer_.Cut(); }
    // For the byte steps: a cut reference noted where its record begins.
    void NoteCut();

private:
    void TellObserver(std::string_view taken);

    RunContext& run_;
    PassWork& work_;
    ReferenceWriter writer_;
};

}  // namespace pellimar
