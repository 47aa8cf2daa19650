#include "archive/un_base.h"

TUnBase::TUnBase(TComponent* owner) : TZipCommon(owner)
{
    SetProgressNotify(TProgressNotify::Ten);
    SetFileSpec("*.*");
}

TUnBase::~TUnBase() = default;

void TUnBase::Extract()
{
    if (cpuType_ == TCpuType::cpt80486)
        cpuType_ = TCpuType::cptAuto;
    ExtractArchive();
}
