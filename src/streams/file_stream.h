// A stream over an open file, with exclusive access while it is open.
#pragma once

#include <cstdint>
#include <string>

#include "streams/stream.h"

namespace pellimar {

// Open an existing file for reading only.
inline constexpr std::uint16_t fmOpenRead = 0;
// Create the file for reading and writing, replacing an existing one.
inline constexpr std::uint16_t fmCreate = 0xFFFF;

class TFileStream : public TStream {
public:
    // Raises "Cannot open file %s" (fmOpenRead) or "Cannot create file %s"
    // (fmCreate). While the stream is open no other stream of this program
    // can open the same file under any spelling of its path, and other
    // programs that lock files are kept out too. An existing file is only
    // emptied once that exclusive hold is established.
    TFileStream(const std::string& fileName, std::uint16_t mode);
    ~TFileStream() override;

    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    // A failed read of the file raises "Stream read error"; the end of the
    // file is a short count. A failed write returns the bytes taken so far.
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override;

    // Closes the file; false when the system reports that data written
    // through this stream may not have reached the file.
    bool Close();

private:
    void Release();

    int Handle = -1;
    bool Writable = false;
    bool Registered = false;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
};

}  // namespace pellimar
