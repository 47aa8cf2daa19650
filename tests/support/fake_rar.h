#pragma once

#include "tests/support/fake_unrar/fake_unrar_script.h"
#include "unrar/rar_entry_points.h"

#include <dlfcn.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

// One scripted entry of the fake RAR library.
struct FakeEntry {
    std::string name;
    unsigned int flags = 0;
    unsigned int hostOS = 2;
    unsigned int fileAttr = 0x20;
    unsigned int unpSize = 0;
    unsigned int fileTime = 0;
    int extractResult = 0;
    std::vector<unsigned int> blocks;
    std::string missingVolume;
};

// A file entry made on Windows whose data comes in one block.
inline FakeEntry FakeFile(const std::string& name, unsigned int size)
{
    FakeEntry entry;
    entry.name = name;
    entry.unpSize = size;
    if (size > 0)
        entry.blocks = {size};
    return entry;
}

inline FakeEntry FakeFolder(const std::string& name)
{
    FakeEntry entry;
    entry.name = name;
    entry.flags = 0x20;
    entry.fileAttr = 0x10;
    return entry;
}

// Where a fake library variant lies in the build: <bin>/<variant>/libunrar.so.
inline std::string FakeRarPath(const std::string& variant = "fake_unrar")
{
    const char* bin = std::getenv("ZK_BIN_DIR");
    return std::string(bin ? bin : ".") + "/" + variant + "/libunrar.so";
}

// Opens the fake library next to the engine's own binding (the same loaded
// object) and scripts it.
class FakeRar {
public:
    explicit FakeRar(const std::string& variant = "fake_unrar") : path_(FakeRarPath(variant))
    {
        handle_.reset(dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL));
        if (!handle_)
            throw std::runtime_error("cannot load " + path_);
        reset_ = symbol<FakeRarResetFn>("FakeRarReset");
        setOpenResult_ = symbol<FakeRarSetOpenResultFn>("FakeRarSetOpenResult");
        addEntry_ = symbol<FakeRarAddEntryFn>("FakeRarAddEntry");
        damagedAfter_ = symbol<FakeRarSetDamagedHeaderAfterFn>("FakeRarSetDamagedHeaderAfter");
        callCount_ = symbol<FakeRarCallCountFn>("FakeRarCallCount");
        call_ = symbol<FakeRarCallFn>("FakeRarCall");
        reset_();
    }
    FakeRar(const FakeRar&) = delete;
    FakeRar& operator=(const FakeRar&) = delete;

    const std::string& path() const { return path_; }

    void reset() { reset_(); }
    void setOpenResult(int code) { setOpenResult_(code); }
    void damagedHeaderAfter(int entries) { damagedAfter_(entries); }

    void add(const FakeEntry& entry)
    {
        FakeRarEntry raw{entry.name.c_str(),
                         entry.flags,
                         entry.hostOS,
                         entry.fileAttr,
                         entry.unpSize,
                         entry.fileTime,
                         entry.extractResult,
                         entry.blocks.data(),
                         static_cast<int>(entry.blocks.size()),
                         entry.missingVolume.empty() ? nullptr : entry.missingVolume.c_str()};
        addEntry_(&raw);
    }

    std::vector<std::string> calls() const
    {
        const int count = callCount_();
        std::vector<std::string> lines;
        lines.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            lines.emplace_back(call_(i));
        return lines;
    }

private:
    template <typename Fn>
    Fn symbol(const char* name)
    {
        auto fn = reinterpret_cast<Fn>(dlsym(handle_.get(), name));
        if (!fn)
            throw std::runtime_error(std::string("fake RAR library lacks ") + name);
        return fn;
    }

    std::string path_;
    DlLibrary handle_;
    FakeRarResetFn reset_ = nullptr;
    FakeRarSetOpenResultFn setOpenResult_ = nullptr;
    FakeRarAddEntryFn addEntry_ = nullptr;
    FakeRarSetDamagedHeaderAfterFn damagedAfter_ = nullptr;
    FakeRarCallCountFn callCount_ = nullptr;
    FakeRarCallFn call_ = nullptr;
};
