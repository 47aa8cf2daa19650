#pragma once

#include "archive/zip_common.h"

#include <cstdint>

// A processor hint; only Extract looks at it.
enum class TCpuType : uint8_t { cptAuto, cpt80286, cpt80386, cpt80486 };

// Base of the extracting members: Extract runs the member's ExtractArchive.
class TUnBase : public TZipCommon {
public:
    explicit TUnBase(TComponent* owner);
    ~TUnBase() override;

    TCpuType CpuType() const { return cpuType_; }
    void SetCpuType(TCpuType type) { cpuType_ = type; }

    // Extracts to disk, the one output this system uses.
    void Extract();

protected:
    virtual void ExtractArchive() = 0;

    // Counts entries for OnBegin's RecNum; each run resets it.
    int32_t EntryCounter = 0;

private:
    TCpuType cpuType_ = TCpuType::cptAuto;
};
