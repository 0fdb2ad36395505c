// The references earlier runs wrote right after a record code, taken out
// by the byte steps before anything reads what follows the code, and, when
// they are kept, written again after the record's new reference.
#pragma once

#include <cstddef>

#include "engine/earlier_reference.h"
#include "engine/held_text.h"
#include "engine/pass_work.h"

namespace pellimar {

class EarlierReferenceTaker {
public:
    explicit EarlierReferenceTaker(PassWork& work) : work_(work), finder_(work.run.LongestEarlierReference) {}

    // At the input's read position, right after a record code or a level
    // record: takes out the references there, one after another.
    void Take();
    // Those taken and kept, written and forgotten.
    void WriteKept();

private:
    bool MayStart();
    // Takes `count` bytes that are known to be there, holding them in `into`
    // when given.
    void TakeBytes(std::size_t count, HeldText* into);

    PassWork& work_;
    EarlierReferenceFinder finder_;
    // The earlier references after the current record code, when they are
    // kept: they follow its new reference.
    HeldText kept_;
};

}  // namespace pellimar
