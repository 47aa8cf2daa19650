#pragma once

// Modal results of the install flow's windows.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;     // installed; OK in the new directory dialog
inline constexpr int mrCancel = 2; // Cancel picture or the close box
inline constexpr int mrExtractFailed = 7;
