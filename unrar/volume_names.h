#pragma once

#include <string>

namespace zk::unrar {

// Name of the volume after `current`, in the scheme of `current`'s name:
// "x.part01.rar" -> "x.part02.rar" (width kept, growing only on overflow),
// "x.rar" -> "x.r00", "x.r99" -> "x.s00". Empty when the name fits neither.
std::string nextVolumeName(const std::string& current);

} // namespace zk::unrar
