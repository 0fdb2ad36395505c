// Which file of a collection is being converted, as the window's caption
// names it ("3 of 12: book3.fff"). The pass tells it, on a thread of its own
// in some windows; the window reads it on its own thread at the next
// progress step.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pellimar {

class CollectionShown {
public:
    // The collection's inputs, before its run starts; none between runs.
    void Begin(const std::vector<std::string>& inputs);
    void End();
    bool Active() const { return !names_.empty(); }

    // From the pass, as the file of this index starts.
    void Started(std::size_t index) { started_.store(index); }

    // The caption for the file started last, when it is not shown yet.
    std::optional<std::string> NewCaption();

private:
    std::vector<std::string> names_;
    std::atomic<std::size_t> started_{0};
    std::optional<std::size_t> shown_;
};

// "3 of 12: book3.fff", before the program's name.
std::string CollectionCaption(std::size_t index, std::size_t count, const std::string& input);

}  // namespace pellimar
