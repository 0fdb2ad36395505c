// The error classes raised by the stream library and the rest of the system.
// Each carries its final message text: placeholders are filled before raising.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pellimar {

// Which file an error concerns and why it happened, where the system knows:
// the command line names both; the window shows the message alone.
struct ErrorContext {
    std::string file;
    std::string reason;  // "permission denied", "it is the input file", ...
};

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message, ErrorContext context = {})
        : std::runtime_error(message), context_(std::move(context))
    {
    }

    const std::string& File() const { return context_.file; }
    const std::string& Reason() const { return context_.reason; }

private:
    ErrorContext context_;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

// Replaces the first "%s" or "%d" of a message with the given text. Only the
// first placeholder is filled, so a "%" inside the value itself is harmless.
std::string FillPlaceholder(std::string_view format, std::string_view value);
std::string FillPlaceholder(std::string_view format, std::int64_t value);

// Why a file operation failed, from the system's error number: phrased for
// users ("permission denied", "no such folder"). `creating` tells a missing
// folder from a missing file.
std::string ReasonOfError(int errorNumber, bool creating = false);

// The fixed texts of the file layer.
inline constexpr std::string_view kCannotOpenFile = "Cannot open file %s";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file %s";
inline constexpr std::string_view kStreamReadError = "Stream read error";
inline constexpr std::string_view kStreamWriteError = "Stream write error";

}  // namespace pellimar
