#pragma once

#include "presentation/media_backend.h"

// The program's own media back end.
std::unique_ptr<MediaBackend> createSdlMediaBackend();
