// The byte steps of the two code states: a code copied as it comes, then
// examined; a record code's reference written before its record's opening,
// and a level record handed to the heading state.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/earlier_reference_taker.h"
#include "engine/pass_references.h"
#include "engine/pass_work.h"
#include "engine/record_opening.h"

namespace pellimar {

class CodeSteps {
public:
    CodeSteps(PassWork& work, PassReferences& references, EarlierReferenceTaker& earlier)
        : work_(work), references_(references), earlier_(earlier)
    {
    }

    // After a code's "<": copies the code and sends it to be examined.
    void Open();
    void Check();
    // For the current code, a record code read without ID record levels.
    void CountUnreadIdLevelRecord();

private:
    void CopyCodeText();
    void CloseCode();
    void NoteCodeLine();
    void NoteCodeLineAt(std::int64_t position);
    void PlainRecordCode();
    RecordOpening ReadRecordOpening(std::uint8_t (&bytes)[kLongestRecordOpening + 1]);
    RecordOpening LaterLineOpening();
    void CopyRecordCodeLead(std::string_view lead);

    PassWork& work_;
    PassReferences& references_;
    EarlierReferenceTaker& earlier_;
    // What follows a record code that ends its line, looked at to find
    // where its record begins.
    std::vector<std::uint8_t> laterLine_;
};

}  // namespace pellimar
