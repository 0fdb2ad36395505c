// Right after a record code: the references earlier runs wrote there, one
// after another, are taken out before anything reads what follows the code,
// so that they are never part of a heading, their markers are not seen, and
// the record's first code is the one after them. Kept, they are written
// again after the record's new reference.
#include "engine/earlier_reference_taker.h"

#include <algorithm>

namespace pellimar {

void EarlierReferenceTaker::Take()
{
    RunContext& run = work_.run;
    while (MayStart()) {
        const EarlierFrameMatch match = finder_.At(work_.input);
        if (match.kind == EarlierFrame::LookAlike)
            work_.Note(run.Found[Finding::LookAlikes], work_.BytesConsumed());
        if (match.kind != EarlierFrame::Found)
            return;
        ++run.Found[Finding::EarlierReferences].count;
        TakeBytes(match.length, run.Earlier == EarlierReferences::Keep ? &kept_ : nullptr);
    }
}

// Most records open with text or with another code, which the block shows
// at once; at its end the finder looks further.
bool EarlierReferenceTaker::MayStart()
{
    const std::span<const std::uint8_t> ahead = work_.input.ReadAhead();
    if (ahead.size() >= 2)
        return ahead[0] == '<' && ahead[1] == 'C';
    return work_.Peek() == std::optional<std::uint8_t>('<');
}

void EarlierReferenceTaker::TakeBytes(std::size_t count, HeldText* into)
{
    while (count > 0 && work_.Peek()) {
        const std::span<const std::uint8_t> ahead = work_.input.ReadAhead();
        const std::size_t taken = std::min(count, ahead.size());
        if (into != nullptr)
            into->Append(std::string_view(reinterpret_cast<const char*>(ahead.data()), taken));
        work_.input.Consume(taken);
        count -= taken;
    }
}

void EarlierReferenceTaker::WriteKept()
{
    if (kept_.Empty())
        return;
    kept_.WriteTo(work_.output);
    kept_.Clear();
}

}  // namespace pellimar
