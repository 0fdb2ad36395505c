// File access for the streams, with exclusive access through the table of
// held files and the file layer's hold against other programs.
#include "streams/file_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "streams/exceptions.h"
#include "streams/held_files.h"

namespace pellimar {
namespace {

constexpr std::int64_t kChunkSize = 256 * 1024;

}  // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : Name(fileName)
{
    const bool create = mode == fmCreate;
    if (create)
        RefuseHeldFile(fileName);
    bool created = false;
    File = create ? NativeFile::OpenForWriting(fileName, created) : NativeFile::OpenForReading(fileName);
    Writable = create;
    if (!File.IsOpen())
        Fail(create, ReasonNotOpened(fileName, create));

    const std::optional<FileFacts> facts = File.Facts();
    if (!facts)
        Fail(create, LastFailureReason(create));
    // Reading takes regular files only (a pipe or device could block or never
    // end); writing also takes character devices such as /dev/null.
    const bool regular = facts->kind == FileKind::Regular;
    Seekable = regular;
    if (!regular && !(create && facts->kind == FileKind::Device))
        Fail(create, facts->kind == FileKind::Folder ? "it is a folder" : "it is not a regular file");
    if (regular) {
        Identity = facts->identity;
        TakeHold(create, created, fileName);
        if (!create)
            HoldAgainstWriters();
    }
}

// Opening a file to write it breaks the lease of whoever reads it: this
// program's own streams, and other programs that lock what they read, are
// asked after first.
void TFileStream::RefuseHeldFile(const std::string& fileName)
{
    const std::optional<FileIdentity> named = IdentityOfName(fileName);
    if (!named)
        return;
    if (const std::string clash = HeldFileClash(*named, Holding::Writing); !clash.empty())
        Fail(true, clash);
    if (LockedByAnotherProgram(fileName))
        Fail(true, kLockedByAnotherProgram);
}

// A file another program is writing may change under the reader at any
// moment, so it is refused before anything is read; one it starts to write
// later breaks the lease. Where no lease is had, the size and times the file
// had at opening are what a change is told by.
void TFileStream::HoldAgainstWriters()
{
    switch (File.TakeReadLease()) {
    case LeaseTaking::Held:
        Leased = true;
        break;
    case LeaseTaking::FileOpenForWriting:
        Fail(false, kOpenForWritingElsewhere);
    case LeaseTaking::Unavailable:
        OpenedStamp = File.Stamp();
        break;
    }
}

// Another stream of ours reading the file is, for a file being created,
// the run's input under another name. A file read is kept from writers
// only, so that other runs, and other names of one input in this one, may
// read it at the same time. A file made only to be refused is closed before
// it is removed, since Windows removes no open file.
void TFileStream::TakeHold(bool create, bool created, const std::string& fileName)
{
    std::string reason;
    Registered = TakeHeldFile(Identity, HoldingOfStream(), &reason);
    if (Registered && !(create ? File.LockAgainstOtherPrograms() : File.LockAgainstWriters()))
        reason = kLockedByAnotherProgram;
    if (!reason.empty()) {
        if (created) {
            Release();
            RemoveFile(fileName);
        }
        Fail(create, reason);
    }
    if (create && !created && !File.Truncate())
        Fail(create, LastFailureReason(create));
}

void TFileStream::Fail(bool create, const std::string& reason)
{
    Release();
    const std::string message = FillPlaceholder(create ? kCannotCreateFile : kCannotOpenFile, Name);
    if (create)
        throw EFCreateError(message, {Name, reason});
    throw EFOpenError(message, {Name, reason});
}

// Standard input redirected from a file holds that file as a named input
// would, and standard output redirected to a file this program holds is
// refused before anything is written: appending a file to itself would
// never end.
TFileStream::TFileStream(Adopted, NativeFile file, bool writable, std::string name, bool seekable)
    : Name(std::move(name)), File(std::move(file)), Writable(writable), Seekable(seekable)
{
    if (!File.IsOpen())
        Fail(writable, LastFailureReason(writable));
    const std::optional<FileFacts> facts = File.Facts();
    if (!facts || facts->kind != FileKind::Regular)
        return;
    if (const std::string clash = writable ? HeldFileClash(facts->identity, Holding::Writing) : ""; !clash.empty())
        Fail(true, clash);
    if (!writable) {
        Identity = facts->identity;
        Registered = TakeHeldFile(Identity, Holding::Reading);
        HoldAgainstWriters();
    }
}

std::unique_ptr<TFileStream> TFileStream::StandardInput()
{
    return std::unique_ptr<TFileStream>(new TFileStream(Adopted{}, NativeFile::DuplicateStandardInput(), false));
}

std::unique_ptr<TFileStream> TFileStream::StandardOutput()
{
    return std::unique_ptr<TFileStream>(new TFileStream(Adopted{}, NativeFile::DuplicateStandardOutput(), true));
}

std::unique_ptr<TFileStream> TFileStream::OverNewFile(NativeFile file, std::string name)
{
    return std::unique_ptr<TFileStream>(new TFileStream(Adopted{}, std::move(file), true, std::move(name), true));
}

bool TFileStream::ChangedSinceOpened() const
{
    if (Leased)
        return File.ReadLeaseBroken();
    if (!OpenedStamp)
        return false;
    const std::optional<FileStamp> now = File.Stamp();
    return !now || *now != *OpenedStamp;
}

std::optional<FileIdentity> TFileStream::RegularFile() const
{
    if (!Seekable)
        return std::nullopt;
    return Identity;
}

std::optional<std::int64_t> TFileStream::DataSize() const
{
    if (!Seekable)
        return std::nullopt;
    return FileSize();
}

TFileStream::~TFileStream()
{
    if (File.IsOpen())
        WritePending();
    Release();
}

void TFileStream::Release()
{
    if (Registered) {
        GiveHeldFile(Identity, HoldingOfStream());
        Registered = false;
    }
    File.Close();
}

bool TFileStream::Close()
{
    if (!File.IsOpen())
        return !WriteFailed;
    const bool written = WritePending();
    NativeFile closing = std::move(File);
    if (Registered) {
        GiveHeldFile(Identity, HoldingOfStream());
        Registered = false;
    }
    const bool closed = closing.Close();
    return written && (closed || !Writable);
}

std::uint8_t* TFileStream::Chunk()
{
    if (!ChunkBytes)
        ChunkBytes.reset(new std::uint8_t[kChunkSize]);
    return ChunkBytes.get();
}

// A pipe has no size: -1, which the buffered stream's end test reads as a
// size already passed, so that only a read can tell where the data ends.
std::int64_t TFileStream::FileSize() const
{
    if (!Seekable && !Writable)
        return -1;
    const std::int64_t size = File.IsOpen() ? File.Size().value_or(0) : 0;
    if (ChunkHolds == Held::Pending)
        return std::max(size, ChunkStart + ChunkLength);
    return size;
}

std::int64_t TFileStream::ReadAt(std::uint8_t* into, std::int64_t count, std::int64_t at)
{
    std::int64_t done = 0;
    while (File.IsOpen() && done < count) {
        const std::int64_t rest = count - done;
        const std::int64_t n = Seekable ? File.ReadAt(into + done, rest, at + done) : File.ReadNext(into + done, rest);
        if (n == 0)
            break;
        if (n < 0) {
            // Unlike the end of the file, a failing disk must not look like a
            // shorter file: the copy would be silently truncated.
            FailureReason = LastFailureReason();
            throw EReadError(std::string(kStreamReadError), FailureContext());
        }
        done += n;
    }
    return done;
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    if (ChunkHolds == Held::Pending)
        WritePending();
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::int64_t copied = 0;
    while (copied < count) {
        const bool inChunk = ChunkHolds == Held::ReadAhead && Pos >= ChunkStart && Pos < ChunkStart + ChunkLength;
        // A block as large as the chunk is read straight into place: the
        // bytes are copied once, by the system. What the chunk still held of
        // it came first; the rest is read here too, so that the next block
        // starts where this one ends rather than inside a chunk. A reader of
        // such blocks reads less only to look past its block: a chunk would
        // hold the next block's bytes only to copy them again, so that is
        // read straight too.
        if (!inChunk && (count >= kChunkSize || ReadsInChunks)) {
            ChunkHolds = Held::Nothing;
            ReadsInChunks = true;
            const std::int64_t n = ReadAt(out + copied, count - copied, Pos);
            copied += n;
            Pos += n;
            break;
        }
        if (!inChunk) {
            ChunkHolds = Held::Nothing;
            ChunkStart = Pos;
            ChunkLength = ReadAt(Chunk(), kChunkSize, Pos);
            if (ChunkLength == 0)
                break;
            ChunkHolds = Held::ReadAhead;
        }
        const std::int64_t n = std::min(count - copied, ChunkStart + ChunkLength - Pos);
        std::memcpy(out + copied, Chunk() + (Pos - ChunkStart), static_cast<std::size_t>(n));
        copied += n;
        Pos += n;
    }
    return copied;
}

bool TFileStream::WriteAll(const std::uint8_t* bytes, std::int64_t count, std::int64_t at)
{
    std::int64_t done = 0;
    while (File.IsOpen() && done < count) {
        const std::int64_t rest = count - done;
        const std::int64_t n =
            Seekable ? File.WriteAt(bytes + done, rest, at + done) : File.WriteNext(bytes + done, rest);
        if (n <= 0)
            break;
        done += n;
    }
    if (done < count) {
        WriteFailed = true;
        FailureReason = LastFailureReason();
        return false;
    }
    if (Seekable)
        StartWriteBack(at, count);
    return true;
}

// A file written in order is mostly large: its bytes start for the disk as
// they come rather than all at the final sync, some megabytes at a time (a
// start for every chunk cost the run more than it saved). Bytes written
// anywhere else than straight on are left to the sync.
void TFileStream::StartWriteBack(std::int64_t at, std::int64_t count)
{
    constexpr std::int64_t kWriteBackStep = 8 << 20;
    if (at != WriteBackTo)
        WriteBackFrom = at;
    WriteBackTo = at + count;
    if (WriteBackTo - WriteBackFrom >= kWriteBackStep) {
        File.StartWriteBack(WriteBackFrom, WriteBackTo - WriteBackFrom);
        WriteBackFrom = WriteBackTo;
    }
}

bool TFileStream::WritePending()
{
    if (ChunkHolds != Held::Pending)
        return !WriteFailed;
    ChunkHolds = Held::Nothing;
    return WriteAll(Chunk(), ChunkLength, ChunkStart) && !WriteFailed;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    if (!Writable || count <= 0)
        return 0;  // opened for reading only, or nothing to write
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    const bool follows = ChunkHolds == Held::Pending && Pos == ChunkStart + ChunkLength;
    if (follows && ChunkLength + count <= kChunkSize) {
        std::memcpy(Chunk() + ChunkLength, in, static_cast<std::size_t>(count));
        ChunkLength += count;
        Pos += count;
        return count;
    }
    // Held-back bytes that cannot be written are lost: this write then takes
    // nothing, so the caller learns of it.
    if (ChunkHolds == Held::Pending && !WritePending())
        return 0;
    ChunkHolds = Held::Nothing;
    if (WriteFailed)
        return 0;
    if (count >= kChunkSize) {
        if (!WriteAll(in, count, Pos))
            return 0;
        Pos += count;
        return count;
    }
    std::memcpy(Chunk(), in, static_cast<std::size_t>(count));
    ChunkHolds = Held::Pending;
    ChunkStart = Pos;
    ChunkLength = count;
    Pos += count;
    return count;
}

std::int64_t TFileStream::Seek(std::int64_t offset, std::uint16_t origin)
{
    std::int64_t target = offset;
    if (origin == kFromCurrent)
        target = Pos + offset;
    else if (origin == kFromEnd)
        target = FileSize() + offset;
    if (!File.IsOpen() || target < 0)
        return -1;
    Pos = target;
    return Pos;
}

}  // namespace pellimar
