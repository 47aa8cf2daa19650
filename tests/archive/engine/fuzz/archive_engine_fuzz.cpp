// libFuzzer over the entry names, kinds and sizes the library reports: the
// engine must never let the library write outside the target folder, and the
// Windows-style path rules must give a path starting with their folder for
// each name, without throwing.
#include "base/path_rules.h"
#include "archive/engine/rar_library.h"
#include "archive/engine/unrar.h"
#include "tests/support/engine_sandbox.h"
#include "tests/support/fake_rar.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The Windows style is not the one the engine uses here, so it is checked on
// the names directly: whatever the name, the text starts with the folder.
void checkWindowsStyle(const std::string& name)
{
    const std::string folder = "D:\\G\\";
    for (bool storedDirs : {true, false}) {
        if (DestinationPath(name, folder, storedDirs, PathStyle::Windows).rfind(folder, 0) != 0)
            std::abort();
    }
}

// Each line is one entry: a kind byte (flags, host and attribute word are
// derived from it), then the stored name.
void scriptEntries(FakeRar& fake, const std::string& input)
{
    size_t start = 0;
    for (int count = 0; start < input.size() && count < 16; ++count) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        const std::string line = input.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        const auto kind = static_cast<unsigned char>(line[0]);
        if (line.size() > 1)
            checkWindowsStyle(line.substr(1));
        FakeEntry entry = FakeFile(line.substr(1), kind & 0x0F);
        entry.flags = kind & 0x24;
        entry.hostOS = (kind >> 6) & 0x03;
        entry.fileAttr = (kind & 0x10) ? 0x41ED : 0x81B4;
        fake.add(entry);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FakeRar fake;
    static bool bound = BindRarLibrary({fake.path()});
    if (!bound)
        std::abort();
    fake.reset();
    scriptEntries(fake, std::string(reinterpret_cast<const char*>(data), size));

    EngineSandbox box;
    TUnRAR rar(nullptr);
    rar.SetPassword("pw");
    rar.SetExtractDir(box.out());
    rar.SetArchiveFile(box.archive());
    rar.Extract();

    for (const auto& entry : std::filesystem::recursive_directory_iterator(box.root())) {
        const auto relative = entry.path().lexically_relative(box.root());
        const std::string top = relative.begin()->string();
        if (top != "test.rar" && top != "out")
            std::abort(); // written outside the target folder
    }
    return 0;
}
