#pragma once

#include "archive/rar_library.h"

#include <clocale>
#include <filesystem>
#include <stdlib.h>
#include <string>

// A temporary folder for tests of a real RAR library on real archives: the
// library is bound and entry names reach it as UTF-8 text, as in the
// installer; the current directory, the locale and the binding are put back
// and the folder removed afterwards.
class LibrarySandbox {
public:
    LibrarySandbox() = default;
    LibrarySandbox(const LibrarySandbox&) = delete;
    LibrarySandbox& operator=(const LibrarySandbox&) = delete;
    ~LibrarySandbox() { close(); }

    // Makes the folder and binds `library`; false when either fails.
    bool open(const std::string& prefix, const std::string& library)
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            return false;
        root_ = pattern;
        previous_ = std::filesystem::current_path();
        std::setlocale(LC_ALL, "C.UTF-8");
        return BindRarLibrary({library});
    }

    void close()
    {
        ReleaseRarLibrary();
        std::setlocale(LC_ALL, "C");
        if (!root_.empty()) {
            std::filesystem::current_path(previous_);
            std::filesystem::remove_all(root_);
            root_.clear();
        }
    }

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};
