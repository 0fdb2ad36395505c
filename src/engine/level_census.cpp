// Counting the level names of a file's level records.
#include "engine/level_census.h"

#include "streams/text_util.h"

namespace pellimar {

LevelSeen* LevelCensus::Count(std::string_view name, int level)
{
    std::size_t* const cached = level == -1 ? nullptr : &entryOfLevel_[static_cast<std::size_t>(level)];
    if (cached != nullptr && *cached != 0) {
        ++seen_[*cached - 1].count;
        return nullptr;
    }
    if (const auto found = index_.find(name); found != index_.end()) {
        ++seen_[found->second].count;
        return nullptr;
    }
    if (seen_.size() >= kMostNames) {
        ++unlisted_;
        return nullptr;
    }
    index_.emplace(std::string(name), seen_.size());
    seen_.push_back({{}, 1, {}, false});
    if (cached != nullptr)
        *cached = seen_.size();
    return &seen_.back();
}

std::int32_t LevelCensus::CountOf(std::string_view name) const
{
    const auto found = index_.find(ToUpperAscii(name));
    return found == index_.end() ? 0 : seen_[found->second].count;
}

}  // namespace pellimar
