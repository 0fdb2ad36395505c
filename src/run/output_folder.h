// A collection's output folder, one rule for the command line and the
// window: there already; missing, and then made when the folder it would be
// in is there, as rsync makes its destination; or what keeps it from taking
// the outputs.
#pragma once

#include <string>

namespace pellimar {

struct OutputFolderState {
    bool toBeMade = false;
    // Why it cannot take the outputs ("no such folder", "it is not a
    // folder"); empty when it can, or will once made.
    std::string refusal;
};

OutputFolderState LookAtOutputFolder(const std::string& folder);

// Makes the folder; why it could not be made, empty when it was.
std::string MakeOutputFolder(const std::string& folder);

// "made folder out", or for a dry run "would make folder out".
std::string FolderMadeLine(const std::string& folder, bool foretold);

}  // namespace pellimar
