#include "tools/extract_trace/trace_command.h"

#include "archive/engine/rar_library.h"
#include "archive/engine/unrar.h"
#include "base/executable_path.h"

#include <filesystem>

namespace {

struct Tally {
    int extracted = 0;
    int failed = 0;
    int errors = 0;
};

TProgressNotify progressNotifyFor(int step)
{
    return static_cast<TProgressNotify>(step / 5 - 1);
}

// Prints the events; the three asking events get fixed answers, since the
// tool is not interactive: overwrite, keep the given password, give up on a
// missing volume.
void assignHandlers(TUnRAR& rar, std::ostream& out, bool quiet, Tally& tally)
{
    // The line is made only when it is printed.
    auto print = [&out, quiet](auto&& line) {
        if (!quiet)
            out << line() << '\n';
    };
    rar.OnActivate = [print](TObject*) { print([] { return "activate"; }); };
    rar.OnDeactivate = [print](TObject*) { print([] { return "deactivate"; }); };
    rar.OnBegin = [print](TObject*, const std::string& fn, int32_t recNum, bool&) {
        print([&] { return "begin " + std::to_string(recNum) + " " + fn; });
    };
    rar.OnProgress = [print](TObject*, const std::string& fn, uint8_t progress) {
        print([&] { return "progress " + std::to_string(progress) + " " + fn; });
    };
    rar.OnEnd = [print, &tally](TObject*, const std::string& fn, bool pass) {
        ++(pass ? tally.extracted : tally.failed);
        print([&] { return std::string("end ") + (pass ? "ok " : "fail ") + fn; });
    };
    rar.OnError = [print, &tally](TObject*, const std::string& fn, const std::string&,
                                  int32_t code) {
        ++tally.errors;
        print([&] { return "error " + std::to_string(code) + " " + fn; });
    };
    rar.OnFileExists = [](TObject*, const std::string&, TDateTime, bool&) {};
    rar.OnGetPassword = [](TObject*, const std::string&, std::string&, bool&) {};
    rar.OnNextVolume = [](TObject*, std::string&, std::string&, const std::string&, bool& cancel) {
        cancel = true;
    };
}

} // namespace

int RunTrace(const TraceCommand& command, std::ostream& out, std::ostream& err)
{
    RarLibraryBinding binding(command.library.empty()
                                  ? DefaultRarLibraryLocation(ExecutableFolder())
                                  : RarLibraryLocation{command.library});
    TUnRAR rar(nullptr);
    Tally tally;
    assignHandlers(rar, out, command.quiet, tally);
    rar.SetProgressNotify(progressNotifyFor(command.step));
    rar.SetUseStoredDirs(!command.flat);
    rar.SetPassword(command.password);
    if (command.fileSpec)
        rar.SetFileSpec(*command.fileSpec);
    try {
        // Both absolute: setting ArchiveFile moves the current directory, and
        // the component reads a relative target folder from the root.
        if (!command.destDir.empty())
            rar.SetExtractDir(std::filesystem::absolute(command.destDir).string());
        rar.SetArchiveFile(std::filesystem::absolute(command.archive).string());
        if (!command.quiet)
            out << "type " << ArcTypeName(rar.ArcType()) << '\n';
        rar.Extract();
    } catch (const std::exception& e) {
        err << "extract-trace: " << e.what() << '\n';
        ++tally.errors;
    }
    out << "summary extracted=" << tally.extracted << " failed=" << tally.failed
        << " errors=" << tally.errors << '\n';
    return tally.failed == 0 && tally.errors == 0 ? kExitSuccess : kExitFailure;
}
