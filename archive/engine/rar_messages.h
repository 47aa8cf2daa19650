#pragma once

#include <cstdint>

// Message numbers the RAR engine reports (texts in the message table).
inline constexpr int32_t kMsgFileIsReadOnly = 25102;
inline constexpr int32_t kMsgFileIsDirectory = 25105;
inline constexpr int32_t kMsgBadFileHeader = 25108;
inline constexpr int32_t kMsgErrorWritingFile = 25115;
inline constexpr int32_t kMsgErrorClosingFile = 25117;
inline constexpr int32_t kMsgErrorCreatingDir = 25119;
inline constexpr int32_t kMsgCrcFailed = 25120;
inline constexpr int32_t kMsgInvalidDirectory = 25123;
inline constexpr int32_t kMsgDiskFull = 25125;
inline constexpr int32_t kMsgUnexpectedEnd = 25126;
inline constexpr int32_t kMsgErrorDeletingFile = 25129;
inline constexpr int32_t kMsgFileNotFound = 25132;
inline constexpr int32_t kMsgErrorOpeningFile = 25135;
inline constexpr int32_t kMsgErrorReadingFile = 25136;
inline constexpr int32_t kMsgInvalidArchiveType = 25142;
inline constexpr int32_t kMsgInvalidFileName = 25143;
inline constexpr int32_t kMsgOutOfMemory = 25153;
inline constexpr int32_t kMsgLibraryNotFound = 25158;
inline constexpr int32_t kMsgPasswordProtected = 25190;
