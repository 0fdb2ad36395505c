// Putting a file in place: what is the same on every system.
#include "streams/file_replacement.h"

namespace pellimar {

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})),
      file_(std::move(other.file_)),
      replacing_(other.replacing_),
      mode_(other.mode_),
      lateAttributes_(std::move(other.lateAttributes_)),
      notKept_(std::move(other.notKept_)),
      reason_(std::move(other.reason_))
{
}

ReplacementStart FileReplacement::Refuse(ReplacementStart start, std::string reason)
{
    Abandon();
    reason_ = std::move(reason);
    return start;
}

FileReplacement& FileReplacement::operator=(FileReplacement&& other) noexcept
{
    if (this != &other) {
        Abandon();
        target_ = std::move(other.target_);
        temporary_ = std::exchange(other.temporary_, {});
        file_ = std::move(other.file_);
        replacing_ = other.replacing_;
        mode_ = other.mode_;
        lateAttributes_ = std::move(other.lateAttributes_);
        notKept_ = std::move(other.notKept_);
        reason_ = std::move(other.reason_);
    }
    return *this;
}

}  // namespace pellimar
