#pragma once

#include <QLatin1StringView>

// Resource paths of the installer's artwork (compiled in by zk_resources).
// Each button has a normal picture and a lit twin of the same size. Latin-1
// views, so they become a QString where one is taken, without a cast.
namespace artwork {

inline constexpr QLatin1StringView kHeader{":/artwork/header.png"}; // 594 x 171
// The installer's own icon; a package's setup.png beside setup replaces it.
inline constexpr QLatin1StringView kIcon{":/artwork/setup.png"}; // 64 x 64

inline constexpr QLatin1StringView kInstall{":/artwork/install.png"}; // 99 x 28
inline constexpr QLatin1StringView kInstallLit{":/artwork/install_lit.png"};
inline constexpr QLatin1StringView kNfo{":/artwork/nfo.png"}; // 79 x 29
inline constexpr QLatin1StringView kNfoLit{":/artwork/nfo_lit.png"};
inline constexpr QLatin1StringView kExit{":/artwork/exit.png"}; // 77 x 30
inline constexpr QLatin1StringView kExitLit{":/artwork/exit_lit.png"};

inline constexpr QLatin1StringView kCancel{":/artwork/cancel.png"}; // 118 x 28
inline constexpr QLatin1StringView kCancelLit{":/artwork/cancel_lit.png"};
inline constexpr QLatin1StringView kExtract{":/artwork/extract.png"}; // 133 x 28
inline constexpr QLatin1StringView kExtractLit{":/artwork/extract_lit.png"};
inline constexpr QLatin1StringView kMakeDir{":/artwork/make_dir.png"}; // 141 x 28
inline constexpr QLatin1StringView kMakeDirLit{":/artwork/make_dir_lit.png"};
inline constexpr QLatin1StringView kOk{":/artwork/ok.png"}; // 75 x 28
inline constexpr QLatin1StringView kOkLit{":/artwork/ok_lit.png"};

} // namespace artwork
