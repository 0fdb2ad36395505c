// A stream over an open file: shared with the program's other readers while
// it is read, held alone while it is written.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "streams/held_files.h"
#include "streams/native_file.h"
#include "streams/stream.h"

namespace pellimar {

// Open an existing file for reading only.
inline constexpr std::uint16_t fmOpenRead = 0;
// Create the file for reading and writing, replacing an existing one.
inline constexpr std::uint16_t fmCreate = 0xFFFF;

// Why a file is not read: what would be read could change at any moment.
inline constexpr const char* kOpenForWritingElsewhere = "it is open for writing by another program";

class TFileStream : public TStream {
public:
    // Raises "Cannot open file %s" (fmOpenRead) or "Cannot create file %s"
    // (fmCreate). While the stream is open no other stream of this program
    // can write the same file under any spelling of its path, nor read a
    // file it writes; other programs that lock files are kept out of what
    // it writes, and from writing what it reads; a file read is leased
    // against every other writer where the system allows, and refused
    // (kOpenForWritingElsewhere) while another program writes it. An
    // existing file is only emptied once that exclusive hold is established.
    TFileStream(const std::string& fileName, std::uint16_t mode);
    ~TFileStream() override;

    // The process's standard input or output, read or written in order:
    // a pipe as well as a file. Named "-" in messages; closing the stream
    // leaves the process's own descriptor open. A standard input that is a
    // file is held as a named input is; a standard output that is a file
    // this program holds raises "Cannot create file -" (it is the input).
    static std::unique_ptr<TFileStream> StandardInput();
    static std::unique_ptr<TFileStream> StandardOutput();
    // A new, empty file that the file layer has opened for writing, named
    // `name` in messages.
    static std::unique_ptr<TFileStream> OverNewFile(NativeFile file, std::string name);

    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    // A failed read of the file raises "Stream read error"; the end of the
    // file is a short count. A write whose bytes cannot reach the file
    // (now or, for bytes held back, at the next transfer) takes fewer bytes
    // than asked.
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // Moves only the stream's own position; the file is asked for its size
    // when counting from the end.
    std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override;

    // Writes what is held back and closes the file; false when any byte
    // written through this stream may not have reached the file.
    bool Close();

    // The size of the file's data; nothing for a pipe, which has none.
    std::optional<std::int64_t> DataSize() const;
    // True when another program may have changed a file opened for reading
    // since: it broke the lease on it, or, where none was had, the file no
    // longer has the size and times it had then (a new link or mode counts
    // there, as the system tells them apart from no other change). Never
    // for a pipe.
    bool ChangedSinceOpened() const;

    // The regular file opened; nothing for a pipe or a device.
    std::optional<FileIdentity> RegularFile() const;

    // The name errors give, and why the last transfer failed.
    ErrorContext FailureContext() const override { return {Name, FailureReason}; }
    // Errors name this file in place of the one opened (a temporary file
    // that will take another's name).
    void ReportAs(std::string name) { Name = std::move(name); }

private:
    struct Adopted {};
    TFileStream(Adopted, NativeFile file, bool writable, std::string name = "-", bool seekable = false);
    [[noreturn]] void Fail(bool create, const std::string& reason);
    void TakeHold(bool create, bool created, const std::string& fileName);
    void HoldAgainstWriters();
    void RefuseHeldFile(const std::string& fileName);
    enum class Held { Nothing, ReadAhead, Pending };

    void Release();
    Holding HoldingOfStream() const { return Writable ? Holding::Writing : Holding::Reading; }
    std::int64_t FileSize() const;
    bool WritePending();
    bool WriteAll(const std::uint8_t* bytes, std::int64_t count, std::int64_t at);
    void StartWriteBack(std::int64_t at, std::int64_t count);
    std::int64_t ReadAt(std::uint8_t* into, std::int64_t count, std::int64_t at);
    std::uint8_t* Chunk();

    std::string Name;
    std::string FailureReason;
    NativeFile File;
    bool Writable = false;
    bool Seekable = true;  // false for devices written in order, such as /dev/null
    // The bytes written straight on from WriteBackFrom to WriteBackTo, whose
    // way to the disk has not been started yet.
    std::int64_t WriteBackFrom = 0;
    std::int64_t WriteBackTo = 0;
    bool Registered = false;
    bool WriteFailed = false;
    FileIdentity Identity;  // of a regular file
    bool Leased = false;  // a regular file opened for reading, held against writers
    std::optional<FileStamp> OpenedStamp;  // of one read without a lease

    // The file is read and written in large chunks: a buffered stream above
    // may move 8 KiB at a time, and each system call has a price of its own.
    // Transfers of a chunk or more go to the file directly.
    std::unique_ptr<std::uint8_t[]> ChunkBytes;
    Held ChunkHolds = Held::Nothing;
    std::int64_t ChunkStart = 0;  // file offset of the chunk's first byte
    std::int64_t ChunkLength = 0;
    // The reader has read a chunk or more at once.
    bool ReadsInChunks = false;
    std::int64_t Pos = 0;
};

}  // namespace pellimar
