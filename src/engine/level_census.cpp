// Counting the level names of a file's level records.
#include "engine/level_census.h"

#include "streams/text_util.h"

namespace pellimar {

LevelSeen* LevelCensus::Count(std::string_view name, std::string_view written)
{
    if (const auto found = index_.find(std::string(name)); found != index_.end()) {
        ++seen_[found->second].count;
        return nullptr;
    }
    if (seen_.size() >= kMostNames) {
        ++unlisted_;
        return nullptr;
    }
    index_.emplace(std::string(name), seen_.size());
    seen_.push_back({std::string(written), 1, {}, false});
    return &seen_.back();
}

std::int32_t LevelCensus::CountOf(std::string_view name) const
{
    const auto found = index_.find(ToUpperAscii(name));
    return found == index_.end() ? 0 : seen_[found->second].count;
}

}  // namespace pellimar
