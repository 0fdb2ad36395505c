// Makes array allocations of one size fail as when memory runs out, so that a
// constructor's failure after it has taken a resource can be tested.
#pragma once

#include <cstddef>

namespace pellimar::testing {

// While it lives, every new[] of exactly `bytes` bytes throws std::bad_alloc.
// Pick a size nothing else in the test allocates.
class ArrayAllocationFailure {
public:
    explicit ArrayAllocationFailure(std::size_t bytes);
    ~ArrayAllocationFailure();
    ArrayAllocationFailure(const ArrayAllocationFailure&) = delete;
    ArrayAllocationFailure& operator=(const ArrayAllocationFailure&) = delete;
};

}  // namespace pellimar::testing
