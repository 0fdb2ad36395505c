// The run's output: what is the same on every system.
#include "streams/output_file.h"

#include "streams/exceptions.h"
#include "streams/text_stream.h"

namespace pellimar {

// Opening the file for writing, without emptying it, tests the user's right
// to write it; holding it open keeps other programs out until the run ends.
FileKind OutputFile::HoldExistingFile()
{
    held_ = NativeFile::OpenExistingForWriting(target_);
    if (!held_.IsOpen())
        Fail(ReasonNotOpened(target_, true));
    const std::optional<FileFacts> facts = held_.Facts();
    if (!facts)
        Fail(LastFailureReason(true));
    if (facts->kind == FileKind::Regular && IsHeldFile(facts->identity))
        Fail("it is the input file");
    if (!held_.LockAgainstOtherPrograms())
        Fail("another program has it locked");
    return facts->kind;
}

void OutputFile::ReleaseExistingFile()
{
    held_.Close();
}

void OutputFile::Fail(const std::string& reason)
{
    ReleaseExistingFile();
    throw EFCreateError(FillPlaceholder(kCannotCreateFile, path_), {path_, reason});
}

std::unique_ptr<TS_TextStream> OutputFile::CreateStream(std::size_t blockSize)
{
    try {
        auto stream = std::make_unique<TS_TextStream>(temporary_.empty() ? path_ : temporary_, fmCreate, blockSize);
        stream->ReportAs(path_);
        return stream;
    } catch (const EFCreateError& error) {
        Fail(error.Reason());
    }
}

}  // namespace pellimar
