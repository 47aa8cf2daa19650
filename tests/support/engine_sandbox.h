#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

// A temporary folder holding a file that passes for a RAR archive
// ("test.rar") and an empty target folder ("out/"). Setting ArchiveFile moves
// the current directory, so the sandbox puts the old one back.
class EngineSandbox {
public:
    EngineSandbox() : previous_(std::filesystem::current_path())
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zk-engine-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        std::filesystem::create_directories(out());
        std::ofstream(archive(), std::ios::binary) << std::string("Rar!\x1a\x07\x00", 7) << "fake";
    }
    ~EngineSandbox()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    EngineSandbox(const EngineSandbox&) = delete;
    EngineSandbox& operator=(const EngineSandbox&) = delete;

    const std::string& root() const { return root_; }
    std::string archive() const { return root_ + "/test.rar"; }
    std::string out() const { return root_ + "/out/"; }

private:
    std::filesystem::path previous_;
    std::string root_;
};
