#pragma once

#include "archive/engine/rar_library.h"
#include "tests/support/current_directory_guard.h"
#include "tests/support/temp_folder.h"

#include <clocale>
#include <filesystem>
#include <optional>
#include <stdexcept>
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
        try {
            folder_.emplace(prefix);
        } catch (const std::runtime_error&) {
            return false;
        }
        keepDirectory_.emplace();
        std::setlocale(LC_ALL, "C.UTF-8");
        return BindRarLibrary({library});
    }

    void close()
    {
        ReleaseRarLibrary();
        std::setlocale(LC_ALL, "C");
        keepDirectory_.reset();
        folder_.reset();
    }

    const std::filesystem::path& root() const { return folder_->path(); }

private:
    std::optional<TempFolder> folder_;
    std::optional<CurrentDirectoryGuard> keepDirectory_;
};
