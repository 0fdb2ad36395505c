// One way to put a new file in place of another, or under a name still
// free, for a run's output and the settings files alike. The new content is
// written to a file of its own beside the target, readable by its owner
// alone, and takes the target's name (and the replaced file's owner, group,
// mode, access control list and extended attributes, or for a new name the
// permissions any new file gets there) only once it is whole on the disk:
// until then the name shows the earlier file, and whatever ends the process
// leaves that file as it was.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "streams/native_file.h"

namespace pellimar {

enum class ReplacementStart {
    Ready,
    // No new file can take the name (the folder takes no new file, lets no
    // name be replaced, or the name is a mount point): the file can only be
    // rewritten where it stands. Reason() says why.
    FolderRefuses,
    // Anything else (a name too long, no free inodes, no space): the reason
    // is Reason().
    Failed,
};

enum class Placement {
    Done,
    NameTaken,  // a file appeared under the name, which was to stay free
    Failed,     // the reason is Reason()
};

// What Begin would find, asked without making anything.
struct ReplacementOutlook {
    ReplacementStart start = ReplacementStart::Ready;
    std::string reason;
    std::vector<std::string> notKept;
    // FolderRefuses: why the system would refuse a file made there ("permission
    // denied"), as it would refuse the output itself when nothing stands
    // under its name.
    std::string refusedBySystem;
};

class FileReplacement {
public:
    FileReplacement() = default;
    // Throws away the new file unless it was put in place.
    ~FileReplacement() { Abandon(); }
    FileReplacement(FileReplacement&& other) noexcept;
    FileReplacement& operator=(FileReplacement&& other) noexcept;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Makes the new file in the folder of `target`, a name whose links are
    // already followed. `replacing` says that a regular file stands there,
    // whose owner, group, mode, access control list and extended attributes
    // the new file is to keep. Whatever can be known now of the new file's
    // taking the name (the name's length, the folder's flags and sticky
    // bit, a mount point) is asked here, before anything is written. On Linux the new file has no name at all
    // until it is put in place (an unnamed file), so that not even a kill
    // can leave it behind; where the file system has none, and on Windows,
    // it is a hidden name beside the target that the system is told to
    // remove should the program end before it is put in place, as far as
    // the system offers that.
    ReplacementStart Begin(const std::string& target, bool replacing);

    // What Begin would give for the same target, and what the new file
    // could not keep, found from the folder's and the file's permissions,
    // owners and flags alone: no file is made, so that a dry run leaves the
    // folder as it was. Not what only making a file shows (no free inodes).
    static ReplacementOutlook Foresee(const std::string& target, bool replacing);

    bool IsReady() const { return file_.IsOpen(); }
    // The new file, open for reading and writing.
    NativeFile& File() { return file_; }

    // What of the replaced file the new one cannot keep ("its owner", "its
    // group", "its extended attribute user.x"), known from Begin on.
    const std::vector<std::string>& NotKept() const { return notKept_; }

    // Brings the new file to the disk, gives it what it keeps of the
    // replaced file (or, for a new name, the permissions a new file gets)
    // and puts it under the target's name: over whatever stands there when
    // `replace`, otherwise only while the name is free. The new file is gone
    // unless Done.
    Placement PutInPlace(bool replace);

    // Throws the new file away; the target stays as it was.
    void Abandon();

    // Why Begin did not give Ready, or why PutInPlace failed, phrased for
    // users as LastFailureReason is.
    const std::string& Reason() const { return reason_; }

private:
    // The steps only one system takes (what the new file keeps of the one
    // it replaces, its placing under the target's name), defined beside
    // that system's Begin.
    struct SystemSteps;

    ReplacementStart Refuse(ReplacementStart start, std::string reason);

    std::string target_;
    std::string temporary_;  // the new file's own name; empty for an unnamed file
    NativeFile file_;
    bool replacing_ = false;
    unsigned mode_ = 0;  // the final permission bits (on Windows, the file's attributes)
    // Extended attributes given back once the data is written and the mode
    // final: an access control list set earlier would open the new content
    // to others, and the system takes capabilities away on every write.
    std::vector<std::pair<std::string, std::string>> lateAttributes_;
    std::vector<std::string> notKept_;
    std::string reason_;
};

}  // namespace pellimar
