#pragma once

#include <cstdint>
#include <string>

// The numbered texts of the archive components: errors 25100-25350,
// volume-set notices 25901-25904, file-dialog filters 26000-26011, general
// messages 26500-26522 and notices 26900/26999. A code without a row has an
// empty text.
std::string MessageText(int32_t code);
