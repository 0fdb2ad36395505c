// The collection's file named in the window's caption.
#include "window_model/collection_shown.h"

#include "streams/wide_names.h"
#include "window_model/error_box.h"

namespace pellimar {

void CollectionShown::Begin(const std::vector<std::string>& inputs)
{
    names_ = inputs;
    started_.store(0);
    shown_.reset();
}

void CollectionShown::End()
{
    names_.clear();
    shown_.reset();
}

std::optional<std::string> CollectionShown::NewCaption()
{
    const std::size_t started = started_.load();
    if (started >= names_.size() || shown_ == started)
        return std::nullopt;
    shown_ = started;
    return CollectionCaption(started, names_.size(), names_[started]);
}

std::string CollectionCaption(std::size_t index, std::size_t count, const std::string& input)
{
    const std::string name = NameOfPath(PathOfName(input).filename());
    return std::to_string(index + 1) + " of " + std::to_string(count) + ": " + name + " - " + kApplicationTitle;
}

}  // namespace pellimar
