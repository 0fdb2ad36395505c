// The stream classes' message table "S_STREAM" and the ids of the messages
// that the table reader itself raises.
#pragma once

#include "streams/resources.h"

namespace pellimar {

inline constexpr std::string_view kStringTableType = "S_StringTable";
inline constexpr std::string_view kStreamTableName = "S_Stream";

// Ids in the stream table.
inline constexpr int kMsgSeekError = 1;
inline constexpr int kMsgInvalidSeekOrigin = 2;
inline constexpr int kMsgPutbackOverflow = 3;

// Ids in the program's ordinary string table.
inline constexpr int kMsgCannotLoadStringResource = 4288;
inline constexpr int kMsgCannotLockStringResource = 4289;
inline constexpr int kMsgNoSuchStringResource = 4290;

// The compiled-in "S_STREAM" table, exactly as stored with the program.
ResourceBlock StreamMessageTableResource();

}  // namespace pellimar
