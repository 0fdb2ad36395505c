// The error classes raised by the stream library and the rest of the system.
// Each carries its final message text: placeholders are filled before raising.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pellimar {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
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

// The fixed texts of the file layer.
inline constexpr std::string_view kCannotOpenFile = "Cannot open file %s";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file %s";
inline constexpr std::string_view kStreamReadError = "Stream read error";
inline constexpr std::string_view kStreamWriteError = "Stream write error";

}  // namespace pellimar
