// libFuzzer target: arbitrary bytes as an archive, through open, header
// reading and RAR_TEST on every entry.

#define RAR_INTERFACE_DECLARE_FUNCTIONS
#include "unrar/rar_interface.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

int acceptData(unsigned char*, int)
{
    return 1;
}

int declineVolumes(char*, int mode)
{
    return mode == RAR_VOL_NOTIFY ? 1 : 0;
}

const std::string& inputPath()
{
    static const std::string path = "/tmp/zk-unrar-fuzz-" + std::to_string(getpid()) + ".rar";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    std::string name = inputPath();
    RAROpenArchiveData open{};
    open.ArcName = name.data();
    open.OpenMode = RAR_OM_EXTRACT;
    RAR_HANDLE handle = RAROpenArchive(&open);
    if (handle == nullptr)
        return 0;
    RARSetProcessDataProc(handle, acceptData);
    RARSetChangeVolProc(handle, declineVolumes);
    RARHeaderData header{};
    for (int entries = 0; entries < 1000 && RARReadHeader(handle, &header) == ERAR_SUCCESS;
         ++entries)
        RARProcessFile(handle, RAR_TEST, nullptr, nullptr);
    RARCloseArchive(handle);
    return 0;
}
