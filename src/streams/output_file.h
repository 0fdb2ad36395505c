// A run's output file. The data goes to a new file beside it and is put in
// place under the output's name only when the run has ended well, so that a
// run that fails or is cancelled never destroys a file that stood under
// that name.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "streams/buffer_stream.h"
#include "streams/file_replacement.h"
#include "streams/native_file.h"
#include "streams/run_files.h"

namespace pellimar {

class TS_TextStream;

// Raised (as a "Cannot create file" error is) when a file stands under an
// output's name that was to stay free.
inline constexpr std::string_view kOutputFileExists = "Output file exists";

// What an output may not turn out to be: a file of its run.
struct OutputGuard {
    std::shared_ptr<RunFiles> files;
    std::string input;  // the output's own input, as `files` names it
};

class OutputFile {
public:
    // Raises "Cannot create file <path>" when a file under that name may not
    // be written, is held by a stream of this program (the run's input,
    // under whatever name), or is locked by another program, when it is
    // another user's symbolic link in a folder open to all, and when no new
    // file can be made beside it for a reason other than the folder's
    // refusal (a name too long, no free inodes), and when the file under
    // that name is one of the files of `guard` (the reason is theirs). Without
    // `mayReplace` a file under that name, now or when the output is put in
    // place, raises "Output file exists" and is left alone. Nothing is
    // written yet.
    OutputFile(std::string path, bool mayReplace = true, OutputGuard guard = {});
    // Throws away the new file unless it was put in place.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& Path() const { return path_; }

    // A new text stream for the data, raising "Cannot create file <path>".
    std::unique_ptr<TS_TextStream> CreateStream(std::size_t blockSize = kDefaultBlockSize);

    // Puts what was written in place under the output's name, with the
    // owner, group, permission bits, access control list and extended
    // attributes of the file it replaces; a symbolic link keeps pointing to
    // the file it names. Raises "Cannot create file <path>", or "Output
    // file exists" as above; what stood under the name is then untouched.
    // That includes a name that has come to stand for a file of the guard:
    // the output then joins the guard's files only once it is in place.
    void PutInPlace();
    // Throws away what was written: a file that stood under the output's
    // name stays as it was, and a file written in place is removed where
    // the folder lets it be. False when that removal failed (the reason is
    // LastFailureReason()): the file then holds what was written.
    bool Discard();
    // True once Discard has thrown what was written away.
    bool Discarded() const { return discarded_; }

    // True when no new file can take the output's name (the user may not
    // write the folder, a read-only file system, an append-only folder, a
    // mount point): the data then goes to the output itself, so that a file
    // already there is lost at the start, and Discard removes what was
    // written if it can.
    bool WritesInPlace() const { return inPlace_; }
    // Why, in words that follow a file's name ("its folder takes no new
    // file"); empty when the output is not written in place.
    const std::string& WhyInPlace() const { return whyInPlace_; }
    // True when a regular file stood under the name at the start.
    bool ReplacesFile() const { return replacesFile_; }
    // True when it is a device such as /dev/null, written to directly.
    bool WritesToDevice() const { return device_; }
    // What of the replaced file the new one will not keep ("its group").
    const std::vector<std::string>& NotKept() const { return replacement_.NotKept(); }

private:
    FileKind HoldExistingFile();
    void ReleaseExistingFile();
    void StartReplacement();
    bool RemoveWrittenInPlace();
    [[noreturn]] void Fail(const std::string& reason);
    [[noreturn]] void FailAsTaken();
    void FailOnClash(FileIdentity file, bool underTarget = false);
    void Replace();

    std::string path_;
    std::string target_;  // the file the path finally names, links followed
    bool mayReplace_ = true;
    OutputGuard guard_;
    NativeFile held_;     // the replaced file, held while the run lasts
    FileReplacement replacement_;
    bool replacesFile_ = false;
    bool inPlace_ = false;
    std::string whyInPlace_;
    bool device_ = false;  // a device such as /dev/null, written directly
    bool settled_ = false;
    bool discarded_ = false;
};

// What a run into `path` would do to the file under that name, asked before
// the run so that the user can be told.
struct OutputOutlook {
    // A file stands there that can only be rewritten in place: it is lost
    // as soon as the run starts, whatever the run's end.
    bool earlierLost = false;
    // Why (OutputFile::WhyInPlace).
    std::string whyInPlace;
    // What a replacement would not keep of it ("its group").
    std::vector<std::string> notKept;
};
// Nothing is foreseen for an output that cannot be written at all: the run
// reports that.
OutputOutlook ForeseeOutput(const std::string& path);

}  // namespace pellimar
