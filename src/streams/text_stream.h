// The system's one file type: a buffered stream over a file it opens by name
// and owns, with byte, line and delimited-run operations on 8-bit text.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "streams/buffer_stream.h"
#include "streams/file_stream.h"

namespace pellimar {

class TS_TextStream : public TS_BufferStream {
public:
    // Mode fmOpenRead (0) or fmCreate (65535); raises "Cannot open file %s"
    // or "Cannot create file %s".
    TS_TextStream(const std::string& fileName, std::uint16_t mode, std::size_t blockSize = kDefaultBlockSize);
    // Writes what is pending and closes the file, reporting nothing: callers
    // that must know whether the data arrived call Close first.
    ~TS_TextStream() override;

    // Over the process's standard input or output ("-" on a command line),
    // a pipe as well as a file.
    static std::unique_ptr<TS_TextStream> OverStandardInput(std::size_t blockSize = kDefaultBlockSize);
    static std::unique_ptr<TS_TextStream> OverStandardOutput(std::size_t blockSize = kDefaultBlockSize);
    // Over a new, empty file opened by the file layer, named `name` in
    // messages.
    static std::unique_ptr<TS_TextStream> OverNewFile(NativeFile file, std::string name,
                                                      std::size_t blockSize = kDefaultBlockSize);

    // Writes what is pending and closes the file; raises "Stream write
    // error" when either fails. The file is closed in any case.
    void Close();

    // The size of the file's data; nothing for a pipe, which has none.
    std::optional<std::int64_t> DataSize() const;
    // True when another program changed the file read since it was opened
    // (TFileStream::ChangedSinceOpened).
    bool ChangedSinceOpened() const;
    // The regular file read or written; nothing for a pipe or a device.
    std::optional<FileIdentity> RegularFile() const;
    // Errors name this file in place of the one opened.
    void ReportAs(std::string name);

    // One byte; "Stream read error" at the end of the data.
    std::uint8_t ReadChar()
    {
        std::uint8_t ch;
        if (!TryReadByte(ch))
            ThrowReadError();
        return ch;
    }
    // Text up to the next CR, LF or CR LF, which is consumed and not returned.
    // Of a longer line only the first `keep` bytes are held and returned.
    std::string ReadLine(std::size_t keep = SIZE_MAX);
    // Text up to the first byte in delimiters (or, with an empty set, the
    // first byte below 32), which is left to be read next.
    std::string ReadUntil(std::string_view delimiters);

    TS_TextStream& WriteChar(std::uint8_t ch)
    {
        WriteByte(ch);
        return *this;
    }
    TS_TextStream& WriteStr(std::string_view text);
    TS_TextStream& WriteInt(std::int32_t value);

private:
    TS_TextStream(std::unique_ptr<TFileStream> file, std::size_t blockSize);
    TFileStream& File() const { return *File_; }
    // Writes nothing more to the file and closes it.
    void ReleaseFile();

    [[noreturn]] static void ThrowReadError();
    // Appends read-ahead bytes to text up to the first stop byte, which
    // findStop(from, to) finds in a block; true when one was found (it stays
    // unread).
    template <typename FindStop>
    bool GatherUntil(std::string& text, FindStop findStop, std::size_t keep = SIZE_MAX);

    // The file under the buffered stream, which the stream owns; null once
    // closed.
    std::unique_ptr<TFileStream> File_;
};

}  // namespace pellimar
