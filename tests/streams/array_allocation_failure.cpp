// Replaces the program's array allocation functions with ones that can be
// told to fail. They hand every request to the single-object functions, so
// that a sanitizer sees matching allocations and releases.
#include "array_allocation_failure.h"

#include <atomic>
#include <new>

namespace {

std::atomic<std::size_t> failingSize{0};

}  // namespace

namespace pellimar::testing {

ArrayAllocationFailure::ArrayAllocationFailure(std::size_t bytes)
{
    failingSize = bytes;
}

ArrayAllocationFailure::~ArrayAllocationFailure()
{
    failingSize = 0;
}

}  // namespace pellimar::testing

void* operator new[](std::size_t bytes)
{
    if (bytes != 0 && bytes == failingSize)
        throw std::bad_alloc();
    return ::operator new(bytes);
}

void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new[](bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete[](void* memory) noexcept
{
    ::operator delete(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    ::operator delete(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    ::operator delete(memory);
}
