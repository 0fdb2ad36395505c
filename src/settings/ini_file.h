// The INI-file class: profile-string operations on one file, each of which
// reads the file afresh and, when it changes something, writes it at once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pellimar {

class IniText;
struct FileRead;

inline constexpr std::string_view kUnableToWriteTo = "Unable to write to %s";

// Nothing of the file is kept between operations. Names compare without
// regard to ASCII case. A missing or unreadable file reads as an empty one;
// of a file larger than kMaxSettingsFileBytes the first part is read, and
// such a file is never written over.
//
// Every failed write raises Exception "Unable to write to <path>" and leaves
// the file as it was. The operations are virtual so that a step can be
// observed through a derived class.
class TIniFile {
public:
    // Keeps the path; touches no file.
    explicit TIniFile(std::string fileName);
    virtual ~TIniFile() = default;
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }

    // The whole value (never cut short), or the default when the key or the
    // section is missing. A key without a value gives an empty string.
    virtual std::string ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const;
    // An existing key gets the new value in its own line; a new key is
    // appended at the end of its section; a missing section is appended to
    // the file; a missing file is created.
    virtual void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // An empty value or one that is not a number gives the default.
    virtual std::int32_t ReadInteger(std::string_view section, std::string_view key,
                                     std::int32_t defaultValue) const;
    virtual bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // Writes "1" or "0".
    virtual void WriteBool(std::string_view section, std::string_view key, bool value);

    // Replaces `keys` with every key name of the section, in file order (all
    // of them, however many); empty for a missing section or file.
    virtual void ReadSection(std::string_view section, std::vector<std::string>& keys) const;
    // Removes the section's header and all its lines; a missing section is
    // no error and leaves the file untouched.
    virtual void EraseSection(std::string_view section);

protected:
    // Every operation reads through Inspect and changes through Change. The
    // file itself reads its text afresh each time and writes a changed text
    // at once; a derived class may keep the text between operations.
    virtual void Inspect(const std::function<void(const IniText&)>& read) const;
    virtual void Change(const std::function<void(IniText&)>& edit);

    // Replaces the file's text, read before as `old`, with `bytes`. Writes
    // nothing when they are the same (an erase then never creates a missing
    // file). Raises "Unable to write to <path>" when the write fails or when
    // `old` is not the file's whole text, which the write would cut off.
    void WriteText(const FileRead& old, const std::string& bytes) const;

private:
    std::string fileName_;
};

// The program's own settings file.
class TMyIniFile : public TIniFile {
public:
    using TIniFile::TIniFile;
};

}  // namespace pellimar
