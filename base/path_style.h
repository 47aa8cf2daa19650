#pragma once

// How paths are written. Windows: drive letters, "\" between folders, one
// byte per character. POSIX: "/" root, "/" between folders, UTF-8 text. The
// program uses the native style; the rules stay exact for both.
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif
