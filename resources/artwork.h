#pragma once

// Resource paths of the installer's artwork (compiled in by zk_resources).
// Each button has a normal picture and a lit twin of the same size.
namespace artwork {

inline constexpr const char* kHeader = ":/artwork/header.png"; // 594 x 171
// The installer's own icon; a package's setup.png beside setup replaces it.
inline constexpr const char* kIcon = ":/artwork/setup.png"; // 64 x 64

inline constexpr const char* kInstall = ":/artwork/install.png"; // 99 x 28
inline constexpr const char* kInstallLit = ":/artwork/install_lit.png";
inline constexpr const char* kNfo = ":/artwork/nfo.png"; // 79 x 29
inline constexpr const char* kNfoLit = ":/artwork/nfo_lit.png";
inline constexpr const char* kExit = ":/artwork/exit.png"; // 77 x 30
inline constexpr const char* kExitLit = ":/artwork/exit_lit.png";

inline constexpr const char* kCancel = ":/artwork/cancel.png"; // 118 x 28
inline constexpr const char* kCancelLit = ":/artwork/cancel_lit.png";
inline constexpr const char* kExtract = ":/artwork/extract.png"; // 133 x 28
inline constexpr const char* kExtractLit = ":/artwork/extract_lit.png";
inline constexpr const char* kMakeDir = ":/artwork/make_dir.png"; // 141 x 28
inline constexpr const char* kMakeDirLit = ":/artwork/make_dir_lit.png";
inline constexpr const char* kOk = ":/artwork/ok.png"; // 75 x 28
inline constexpr const char* kOkLit = ":/artwork/ok_lit.png";

} // namespace artwork
