// What a pass finds besides the references it makes, counted as it goes:
// for each kind of finding, how many and the input line of the first. What
// each one means to the user, and how it is told, is the run's report's
// business; the pass only counts.
#pragma once

#include <array>
#include <cstddef>

#include "engine/noted_places.h"

namespace pellimar {

enum class Finding {
    // Record codes of the form <RD,ID:n:Level> that name one of the levels
    // but were read as plain record codes, ID record levels being off.
    UnreadIdRecords,
    // References an earlier run wrote right after record codes, found (and,
    // unless they were kept, taken out).
    EarlierReferences,
    // Texts after record codes that begin as such a reference does but are
    // none, kept as they stand.
    LookAlikes,
    // Heading values cut to keep within the longest reference.
    HeadingsCut,
    // References whose text was cut to the longest reference.
    ReferencesCut,
    // Record codes that end their line, whose record goes on on a later line,
    // left without the reference that was due: References for Records on
    // the Next Line is off, or the record's text lies too far on.
    LaterLineRecords,
    // Level records of the form <RD,ID:n:Level>, whatever level they name,
    // read as plain record codes, ID record levels being off.
    IdFormLevelRecords,
};

inline constexpr std::size_t kFindingKinds = static_cast<std::size_t>(Finding::IdFormLevelRecords) + 1;

class Findings {
public:
    Tally& operator[](Finding finding) { return tallies_[static_cast<std::size_t>(finding)]; }
    const Tally& operator[](Finding finding) const { return tallies_[static_cast<std::size_t>(finding)]; }
    std::int32_t Count(Finding finding) const { return (*this)[finding].count; }

private:
    std::array<Tally, kFindingKinds> tallies_{};
};

}  // namespace pellimar
