// The files this program's own streams hold open, by identity, so that links
// and other spellings of a path are caught whatever the file system
// supports: readers share a file, a writer has it alone.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace pellimar {

// Device and inode on POSIX; volume serial number and file index on Windows.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t number = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// The reason an output is refused when it is the run's own input.
inline constexpr const char* kOutputIsInput = "it is the input file";
// The reason a file is refused that another program keeps for itself.
inline constexpr const char* kLockedByAnotherProgram = "another program has it locked";

enum class Holding { Reading, Writing };

// Adds a hold on the file to the table. False when it clashes with a hold
// taken already: any other hold for a writer, a writer's for a reader;
// `refusal`, when given, then says why ("it is the input file").
bool TakeHeldFile(FileIdentity file, Holding holding, std::string* refusal = nullptr);
void GiveHeldFile(FileIdentity file, Holding holding);
bool IsHeldFile(FileIdentity file);
// Why a hold of that kind would clash with those taken; empty when it would
// not.
std::string HeldFileClash(FileIdentity file, Holding holding);

// Why `name` did not open, from the file layer's last failure. A file that
// another opener keeps us out of may be held by a stream of ours: for a
// file being created, that is the run's input under another name.
std::string ReasonNotOpened(const std::string& name, bool creating);

}  // namespace pellimar
