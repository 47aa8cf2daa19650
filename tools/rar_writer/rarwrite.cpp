// rarwrite: writes a stored RAR 4 archive from a folder or from entries named
// on the command line. Options before an entry apply to that entry only.

#include "tools/rar_writer/rar_writer.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using zk::rarwriter::Entry;
using zk::rarwriter::Host;

constexpr const char* kUsage =
    "usage: rarwrite [--host unix|windows] [--volume-size BYTES] --from-dir DIR OUT.rar\n"
    "       rarwrite [--host unix|windows] [--volume-size BYTES] ENTRY... OUT.rar\n"
    "with --volume-size: OUT.part1.rar, OUT.part2.rar ... of at most BYTES each\n"
    "entries: --file NAME SOURCE | --text NAME TEXT | --folder NAME | --link NAME TARGET\n"
    "each entry may be preceded by: --attr N  --time N  --encrypted\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string readSource(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t number(const std::string& text)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || value > 0xFFFFFFFFul)
        throw UsageError("not a number: " + text);
    return static_cast<std::uint32_t>(value);
}

class CommandLine {
public:
    CommandLine(int argc, char** argv) : args_(argv + 1, argv + argc) {}

    bool done() const { return pos_ >= args_.size(); }
    const std::string& next()
    {
        if (done())
            throw UsageError("missing argument");
        return args_[pos_++];
    }
    std::size_t left() const { return args_.size() - pos_; }

private:
    std::vector<std::string> args_;
    std::size_t pos_ = 0;
};

int run(int argc, char** argv)
{
    CommandLine cmd(argc, argv);
    Host host = Host::Unix;
    std::string fromDir;
    std::size_t volumeSize = 0;
    std::vector<Entry> entries;
    Entry pending;

    auto addPending = [&](Entry entry) {
        entry.host = host;
        entries.push_back(std::move(entry));
        pending = Entry{};
    };

    while (cmd.left() > 1) {
        const std::string option = cmd.next();
        if (option == "--host") {
            const std::string name = cmd.next();
            if (name != "unix" && name != "windows")
                throw UsageError("unknown host: " + name);
            host = name == "unix" ? Host::Unix : Host::Windows;
        } else if (option == "--volume-size") {
            volumeSize = number(cmd.next());
        } else if (option == "--from-dir") {
            fromDir = cmd.next();
        } else if (option == "--attr") {
            pending.attr = number(cmd.next());
        } else if (option == "--time") {
            pending.dosTime = number(cmd.next());
        } else if (option == "--encrypted") {
            pending.encrypted = true;
        } else if (option == "--file" || option == "--text" || option == "--link") {
            pending.name = cmd.next();
            const std::string value = cmd.next();
            pending.data = option == "--file" ? readSource(value) : value;
            if (option == "--link" && !pending.attr)
                pending.attr = zk::rarwriter::kUnixSymlinkAttr;
            addPending(pending);
        } else if (option == "--folder") {
            pending.name = cmd.next();
            pending.isFolder = true;
            addPending(pending);
        } else {
            throw UsageError("unknown option: " + option);
        }
    }
    if (cmd.left() != 1 || (fromDir.empty() && entries.empty()))
        throw UsageError("nothing to write");
    const std::string out = cmd.next();
    if (!fromDir.empty()) {
        std::vector<Entry> found = zk::rarwriter::entriesFromDirectory(fromDir, host);
        entries.insert(entries.end(), found.begin(), found.end());
    }
    if (volumeSize > 0)
        zk::rarwriter::writeVolumes(out, entries, volumeSize);
    else
        zk::rarwriter::writeArchive(out, entries);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "rarwrite: %s\n%s", e.what(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rarwrite: %s\n", e.what());
        return 1;
    }
}
