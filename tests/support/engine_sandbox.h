#pragma once

#include "tests/support/current_directory_guard.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <string>

// A temporary folder holding an empty, whole RAR 4 archive ("test.rar") that
// stands for whatever the fake library serves, and an empty target folder
// ("out/"). Setting ArchiveFile moves the current directory, so the sandbox
// puts the old one back.
class EngineSandbox {
public:
    EngineSandbox() : root_(folder_.path().string())
    {
        std::filesystem::create_directories(out());
        writeArchive(kWholeArchive);
    }
    EngineSandbox(const EngineSandbox&) = delete;
    EngineSandbox& operator=(const EngineSandbox&) = delete;

    // Marker, archive header, end-of-archive block.
    static constexpr char kWholeArchive[] = "Rar!\x1a\x07\x00"
                                            "\xcf\x90\x73\x00\x00\x0d\x00\x00\x00\x00\x00\x00\x00"
                                            "\xc4\x3d\x7b\x00\x40\x07\x00";

    // Replaces test.rar's bytes.
    void writeArchive(const std::string& bytes) const
    {
        std::ofstream(archive(), std::ios::binary | std::ios::trunc) << bytes;
    }
    template <std::size_t N>
    void writeArchive(const char (&bytes)[N]) const
    {
        writeArchive(std::string(bytes, N - 1));
    }

    const std::string& root() const { return root_; }
    std::string archive() const { return root_ + "/test.rar"; }
    std::string out() const { return root_ + "/out/"; }

private:
    TempFolder folder_{"zk-engine"};
    CurrentDirectoryGuard keepDirectory_; // goes before the folder does
    std::string root_;
};
