#pragma once

#include "archive/component.h"
#include "archive/dos_date.h"

#include <cstdint>
#include <functional>
#include <string>

// Event types of the archive components. Sender is the component; a non-const
// reference is a value the handler may change and the component reads back.
using TNotifyEvent = std::function<void(TObject* Sender)>;
using TOnError = std::function<void(TObject* Sender, const std::string& FN,
                                    const std::string& VolumeID, int32_t ECode)>;
using TOnProgress = std::function<void(TObject* Sender, const std::string& FN, uint8_t Progress)>;
using TOnBegin =
    std::function<void(TObject* Sender, const std::string& FN, int32_t RecNum, bool& Extract)>;
using TOnEnd = std::function<void(TObject* Sender, const std::string& FN, bool CRC_PASS)>;
using TOnFileExists =
    std::function<void(TObject* Sender, const std::string& FN, TDateTime FileDate, bool& Accept)>;
using TOnGetPassword = std::function<void(TObject* Sender, const std::string& FN,
                                          std::string& Password, bool& TryAgain)>;
using TOnNextVolume = std::function<void(TObject* Sender, std::string& Dir, std::string& FN,
                                         const std::string& VolumeID, bool& Cancel)>;
