// Extracts the multi-volume sample with libunrar.so and, as the peer, with
// bsdtar -xf on the same volumes joined into one file; prints wall times, the
// peak resident memory of each and the time ratio. Best of three rounds.

#include "unrar/rar_entry_points.h"

#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Run {
    double seconds = 1e9;
    long peakKb = 0;
    int status = -1;
};

template <typename Child>
Run measure(Child child)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0)
        _exit(child());
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {took.count(), usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

int extractWithLibrary(const std::string& library, std::string first, const fs::path& out)
{
    void* module = dlopen(library.c_str(), RTLD_NOW);
    if (module == nullptr)
        return 100;
    const std::optional<RarEntryPoints> rar = ResolveRarEntryPoints(module);
    if (!rar)
        return 100;
    RAROpenArchiveData data{};
    data.ArcName = first.data();
    data.OpenMode = RAR_OM_EXTRACT;
    RAR_HANDLE handle = rar->RAROpenArchive(&data);
    if (handle == nullptr)
        return 101;
    std::string dest = out.string();
    RARHeaderData header{};
    int worst = 0;
    while (rar->RARReadHeader(handle, &header) == ERAR_SUCCESS)
        worst = std::max(worst, rar->RARProcessFile(handle, RAR_EXTRACT, dest.data(), nullptr));
    rar->RARCloseArchive(handle);
    return worst;
}

void keepBest(Run& best, const Run& run)
{
    if (run.seconds < best.seconds)
        best = {run.seconds, std::max(best.peakKb, run.peakKb), run.status};
    else
        best.peakKb = std::max(best.peakKb, run.peakKb);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s LIBUNRAR.so SAMPLES_DIR\n", argv[0]);
        return 2;
    }
    const std::string library = fs::absolute(argv[1]).string();
    const fs::path samples = argv[2];
    const fs::path work =
        fs::temp_directory_path() / ("zk-unrar-bench-" + std::to_string(getpid()));
    fs::create_directories(work);
    std::ofstream joined(work / "joined.rar", std::ios::binary);
    for (int i = 1; i <= 4; ++i) {
        const std::string name = "rar4-multivolume.part000" + std::to_string(i) + ".rar";
        fs::copy_file(samples / name, work / name);
        std::ifstream volume(samples / name, std::ios::binary);
        joined << volume.rdbuf();
    }
    joined.close();

    Run peer, ours;
    for (int round = 0; round < 3; ++round) {
        fs::remove_all(work / "peer");
        fs::remove_all(work / "ours");
        fs::create_directories(work / "peer");
        fs::create_directories(work / "ours");
        keepBest(peer, measure([&] {
                     execlp("bsdtar", "bsdtar", "-xf", (work / "joined.rar").c_str(), "-C",
                            (work / "peer").c_str(), static_cast<char*>(nullptr));
                     return 127;
                 }));
        keepBest(ours, measure([&] {
                     return extractWithLibrary(
                         library, (work / "rar4-multivolume.part0001.rar").string(), work / "ours");
                 }));
    }
    fs::remove_all(work);

    std::printf("peer  bsdtar -xf     %.3f s  peak %ld KB  exit %d\n", peer.seconds, peer.peakKb,
                peer.status);
    std::printf("ours  libunrar.so    %.3f s  peak %ld KB  worst code %d\n", ours.seconds,
                ours.peakKb, ours.status);
    std::printf("time ratio ours/peer %.3f (target <= 1.05)\n", ours.seconds / peer.seconds);
    std::printf("peak memory ours     %.1f MB (target < 32 MB)\n", ours.peakKb / 1024.0);
    return 0;
}
