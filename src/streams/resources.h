// The program's own resources: named binary blocks compiled into the program
// and found by type and name without regard to case, plus the program's
// ordinary string table (strings by numeric id).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pellimar {

struct ResourceBlock {
    std::string_view type;
    std::string_view name;
    std::span<const std::uint8_t> bytes;
};

// Finds a resource by type and name, both compared without regard to ASCII
// case. Returns an empty span (data() == nullptr) when there is none.
std::span<const std::uint8_t> FindResourceBlock(std::string_view type, std::string_view name);

// Adds a resource to the program's set. The program registers its own tables
// at start-up; tests register extra ones. The bytes must outlive the program.
void RegisterResourceBlock(const ResourceBlock& block);

// A string of the program's ordinary string table; empty when the id is unknown.
std::string LoadProgramString(int id);

}  // namespace pellimar
