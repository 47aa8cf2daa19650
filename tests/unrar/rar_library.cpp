#include "tests/unrar/rar_library.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace zk::unrar::testing {

namespace fs = std::filesystem;

namespace {

RarEntryPoints load()
{
    const char* binDir = std::getenv("ZK_BIN_DIR");
    if (binDir == nullptr)
        throw std::runtime_error("ZK_BIN_DIR is not set");
    const std::string path = std::string(binDir) + "/libunrar.so";
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr)
        throw std::runtime_error(dlerror());
    const std::optional<RarEntryPoints> points = ResolveRarEntryPoints(module);
    // The own library offers the whole interface, the version query included.
    if (!points || dlsym(module, "RARGetDllVersion") == nullptr)
        throw std::runtime_error("libunrar.so lacks an entry point");
    return *points;
}

} // namespace

const RarEntryPoints& rar()
{
    static const RarEntryPoints lib = load();
    return lib;
}

OpenArchive::OpenArchive(const fs::path& path)
{
    std::string name = path.string();
    RAROpenArchiveData data{};
    data.ArcName = name.data();
    data.OpenMode = RAR_OM_EXTRACT;
    data.OpenResult = 0xFFFF; // shows a library that leaves the result unwritten
    handle_ = rar().RAROpenArchive(&data);
    result_ = data.OpenResult;
}

OpenArchive::~OpenArchive()
{
    if (handle_ != nullptr)
        rar().RARCloseArchive(handle_);
}

int OpenArchive::process(int operation, const std::string& destPath, const std::string& destName)
{
    std::string path = destPath;
    std::string name = destName;
    return rar().RARProcessFile(handle_, operation, path.empty() ? nullptr : path.data(),
                                name.empty() ? nullptr : name.data());
}

Listing walk(const fs::path& archive, int operation, const std::string& destPath)
{
    OpenArchive open(archive);
    if (open.handle() == nullptr)
        throw std::runtime_error("cannot open " + archive.string() + ": " +
                                 std::to_string(open.result()));
    Listing listing;
    while ((listing.endCode = open.next()) == ERAR_SUCCESS) {
        const RARHeaderData& header = open.header;
        ListedEntry entry{
            header.FileName, header.Flags,    header.FileAttr, header.UnpSize, header.FileTime,
            header.HostOS,   header.PackSize, header.FileCRC,  header.Method,  0};
        entry.processResult = open.process(operation, destPath);
        listing.entries.push_back(entry);
    }
    return listing;
}

unsigned openResult(const fs::path& archive)
{
    return OpenArchive(archive).result();
}

fs::path samplesDir()
{
    const char* dir = std::getenv("ZK_SAMPLES_DIR");
    if (dir == nullptr)
        throw std::runtime_error("ZK_SAMPLES_DIR is not set");
    return dir;
}

void SampleTest::SetUp()
{
    const char* dir = std::getenv("ZK_SAMPLES_DIR");
    if (dir == nullptr || !fs::is_directory(dir))
        GTEST_SKIP() << "sample archives not found (../shared/rar-samples beside the project)";
}

fs::path copySample(const std::string& name, const fs::path& dir)
{
    fs::path copy = dir / name;
    fs::copy_file(samplesDir() / name, copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
    return copy;
}

std::string readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& data)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << data;
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace zk::unrar::testing
