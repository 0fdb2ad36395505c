// A run's output file. The data goes to a temporary file beside it and is
// put in place under the output's name only when the run has ended well, so
// that a run that fails or is cancelled never destroys a file that stood
// under that name.
#pragma once

#include <memory>
#include <string>

#include "streams/buffer_stream.h"
#include "streams/native_file.h"

namespace pellimar {

class TS_TextStream;

class OutputFile {
public:
    // Raises "Cannot create file <path>" when a file under that name may not
    // be written, is held by a stream of this program (the run's input,
    // under whatever name), or is locked by another program. Nothing is
    // written yet.
    explicit OutputFile(std::string path);
    // Removes the temporary file unless it was put in place.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& Path() const { return path_; }

    // A new text stream for the data, raising "Cannot create file <path>".
    std::unique_ptr<TS_TextStream> CreateStream(std::size_t blockSize = kDefaultBlockSize);

    // Puts what was written in place under the output's name, with the
    // permission bits of the file it replaces; a symbolic link keeps
    // pointing to the file it names. Raises "Cannot create file <path>".
    void PutInPlace();
    // Throws away what was written; a file that stood under the output's
    // name stays as it was.
    void Discard();

    // True when no temporary file could be made beside the output (a folder
    // the user may not write, a device): the data then goes to the output
    // itself, and Discard removes it.
    bool WritesInPlace() const { return temporary_.empty(); }

private:
    FileKind HoldExistingFile();
    void ReleaseExistingFile();
    [[noreturn]] void Fail(const std::string& reason);

    std::string path_;
    std::string target_;     // the file the path finally names, links followed
    std::string temporary_;  // empty when writing in place
    NativeFile held_;        // the replaced file, held while the run lasts
    bool replacesFile_ = false;
    // The replaced file's permission bits, owner and group (POSIX).
    unsigned mode_ = 0;
    unsigned owner_ = 0;
    unsigned group_ = 0;
    bool settled_ = false;
};

}  // namespace pellimar
