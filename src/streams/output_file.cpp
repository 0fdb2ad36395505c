// The run's output: what is the same on every system.
#include "streams/output_file.h"

#include "streams/exceptions.h"
#include "streams/text_stream.h"

namespace pellimar {

// Opening the file for writing, without emptying it, tests the user's right
// to write it; holding it open keeps other programs out until the run ends.
// What the name leads to is compared first, and another program's lock
// looked for, since opening a file for writing breaks the lease of whoever
// reads it: an input of this run, or of another run of this program.
FileKind OutputFile::HoldExistingFile()
{
    if (const std::optional<FileIdentity> named = IdentityOfName(target_))
        FailOnClash(*named, true);
    if (LockedByAnotherProgram(target_))
        Fail(kLockedByAnotherProgram);
    held_ = NativeFile::OpenExistingForWriting(target_);
    if (!held_.IsOpen())
        Fail(ReasonNotOpened(target_, true));
    const std::optional<FileFacts> facts = held_.Facts();
    if (!facts)
        Fail(LastFailureReason(true));
    if (facts->kind == FileKind::Regular)
        FailOnClash(facts->identity);
    if (!held_.LockAgainstOtherPrograms())
        Fail(kLockedByAnotherProgram);
    return facts->kind;
}

void OutputFile::ReleaseExistingFile()
{
    held_.Close();
}

// Writing in place is kept for the one case where no new file can stand in
// for the old: the folder, or the name, refuses it. Any other failure stops
// the run before anything is written, since writing in place would cost the
// earlier file.
void OutputFile::StartReplacement()
{
    switch (replacement_.Begin(target_, replacesFile_)) {
    case ReplacementStart::Ready:
        return;
    case ReplacementStart::FolderRefuses:
        inPlace_ = true;
        whyInPlace_ = replacement_.Reason();
        ReleaseExistingFile();
        return;
    case ReplacementStart::Failed:
        Fail(replacement_.Reason());
    }
}

OutputFile::~OutputFile()
{
    ReleaseExistingFile();
}

void OutputFile::Fail(const std::string& reason)
{
    ReleaseExistingFile();
    throw EFCreateError(FillPlaceholder(kCannotCreateFile, path_), {path_, reason});
}

void OutputFile::FailAsTaken()
{
    ReleaseExistingFile();
    throw EFCreateError(std::string(kOutputFileExists), {path_, "it appeared while the run lasted"});
}

std::unique_ptr<TS_TextStream> OutputFile::CreateStream(std::size_t blockSize)
{
    try {
        std::unique_ptr<TS_TextStream> stream;
        if (inPlace_ || device_) {
            stream = std::make_unique<TS_TextStream>(path_, fmCreate, blockSize);
        } else {
            NativeFile file = replacement_.File().Duplicate();
            if (!file.IsOpen())
                Fail(LastFailureReason(true));
            stream = TS_TextStream::OverNewFile(std::move(file), path_, blockSize);
        }
        stream->ReportAs(path_);
        return stream;
    } catch (const EFCreateError& error) {
        Fail(error.Reason());
    }
}

// The run's own words for its files come first: a file another job reads
// is also one of the collection's inputs, and is named as such. For the
// file found under the output's name, the inputs count as their names stand.
void OutputFile::FailOnClash(FileIdentity file, bool underTarget)
{
    if (guard_.files) {
        const std::string clash = underTarget ? guard_.files->ClashAsNamesStand(file, target_, guard_.input)
                                              : guard_.files->Clash(file, guard_.input);
        if (!clash.empty())
            Fail(clash);
    }
    if (const std::string clash = HeldFileClash(file, Holding::Writing); !clash.empty())
        Fail(clash);
}

// Let go of the file replaced first: on Windows a file held without sharing
// refuses the move.
void OutputFile::PutInPlace()
{
    if (settled_)
        return;
    settled_ = true;
    ReleaseExistingFile();
    if (device_)
        return;
    std::unique_lock<std::mutex> placing;
    if (guard_.files)
        placing = guard_.files->HoldForPlacing();
    std::optional<FileIdentity> placed = IdentityOfName(target_);
    if (!inPlace_) {
        if (placed)
            FailOnClash(*placed, true);
        const std::optional<FileFacts> written = replacement_.File().Facts();
        placed = written ? std::optional(written->identity) : std::nullopt;
        Replace();
    }
    if (guard_.files && placed)
        guard_.files->AddOutput(*placed, guard_.input);
}

void OutputFile::Replace()
{
    switch (replacement_.PutInPlace(mayReplace_)) {
    case Placement::Done:
        return;
    case Placement::NameTaken:
        FailAsTaken();
    case Placement::Failed:
        Fail(replacement_.Reason());
    }
}

bool OutputFile::Discard()
{
    if (settled_)
        return true;
    settled_ = true;
    ReleaseExistingFile();
    replacement_.Abandon();
    discarded_ = !inPlace_ || RemoveWrittenInPlace();
    return discarded_;
}

OutputOutlook ForeseeOutput(const std::string& path)
{
    try {
        const OutputFile output(path);
        return {output.WritesInPlace() && output.ReplacesFile(), output.WhyInPlace(), output.NotKept()};
    } catch (const Exception&) {
        return {};
    }
}

}  // namespace pellimar
