// A scripted stand-in for the RAR library. It serves the entries a test gave
// it, feeds the data callback the scripted block sizes, writes a small marker
// file for each entry it extracts and records every call as one line of text.
#define RAR_INTERFACE_DECLARE_FUNCTIONS
#include "unrar/rar_interface.h"
#include "tests/support/fake_unrar/fake_unrar_script.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Entry {
    std::string name;
    FakeRarEntry header;
    std::vector<unsigned int> blocks;
    std::string missingVolume;
};

struct Script {
    std::vector<Entry> entries;
    int openResult = 0;
    int damagedAfter = -1;
};

struct Session {
    size_t cursor = 0;
    const Entry* current = nullptr;
    std::string password;
    PROCESSDATAPROC dataProc = nullptr;
    CHANGEVOLPROC volumeProc = nullptr;
};

Script script;
Session session;
std::vector<std::string> calls;
int handleToken;

std::string text(const char* value)
{
    return value ? std::string("\"") + value + "\"" : "null";
}

void record(std::string line)
{
    calls.push_back(std::move(line));
}

// Asks for a missing volume until it exists or the callback gives up.
bool askForVolume(const std::string& volume)
{
    char buffer[1024] = {};
    std::strncpy(buffer, volume.c_str(), sizeof buffer - 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int answer = session.volumeProc ? session.volumeProc(buffer, RAR_VOL_ASK) : 0;
        record("volume ask " + volume + " -> " + std::to_string(answer) + " " + buffer);
        if (answer == 0)
            return false;
        if (access(buffer, F_OK) == 0)
            return true;
    }
    return false;
}

int extract(const Entry& entry, const char* destName)
{
    if (!entry.missingVolume.empty() && !askForVolume(entry.missingVolume))
        return ERAR_EOPEN;
    if ((entry.header.flags & RHDF_ENCRYPTED) && session.password.empty())
        return ERAR_MISSING_PASSWORD;
    // The file is made before its data comes, as a library that writes as it
    // decodes does; what a failure leaves of it stays for the caller.
    std::ofstream out;
    if (destName) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(destName).parent_path(), ignored);
        out.open(destName, std::ios::binary | std::ios::trunc);
    }
    static unsigned char block[4096];
    for (unsigned int size : entry.blocks) {
        if (session.dataProc && session.dataProc(block, static_cast<int>(size)) == 0)
            return ERAR_UNKNOWN;
    }
    if (entry.header.extractResult != 0)
        return entry.header.extractResult;
    out << entry.name;
    return ERAR_SUCCESS;
}

} // namespace

FAKE_EXPORT void FakeRarReset(void)
{
    script = {};
    session = {};
    calls.clear();
}

FAKE_EXPORT void FakeRarSetOpenResult(int code)
{
    script.openResult = code;
}

FAKE_EXPORT void FakeRarAddEntry(const FakeRarEntry* entry)
{
    Entry copy{entry->name ? entry->name : "",
               *entry,
               {},
               entry->missingVolume ? entry->missingVolume : ""};
    copy.blocks.assign(entry->blocks, entry->blocks + std::max(entry->blockCount, 0));
    script.entries.push_back(std::move(copy));
}

FAKE_EXPORT void FakeRarSetDamagedHeaderAfter(int entries)
{
    script.damagedAfter = entries;
}

FAKE_EXPORT int FakeRarCallCount(void)
{
    return static_cast<int>(calls.size());
}

FAKE_EXPORT const char* FakeRarCall(int index)
{
    return index >= 0 && index < FakeRarCallCount() ? calls[static_cast<size_t>(index)].c_str()
                                                    : "";
}

FAKE_EXPORT RAR_HANDLE RAROpenArchive(RAROpenArchiveData* data)
{
    record("open " + text(data->ArcName) + " mode " + std::to_string(data->OpenMode) + " comment " +
           std::to_string(data->CmtBufSize) + (data->CmtBuf ? "" : " without buffer"));
    if (data->CmtBuf && data->CmtBufSize > 0)
        std::memset(data->CmtBuf, 'c', data->CmtBufSize); // the whole buffer must be ours to fill
    session = {};
    data->OpenResult = static_cast<unsigned int>(script.openResult);
    return script.openResult == 0 ? &handleToken : nullptr;
}

FAKE_EXPORT int RARCloseArchive(RAR_HANDLE)
{
    record("close");
    return 0;
}

FAKE_EXPORT int RARReadHeader(RAR_HANDLE, RARHeaderData* header)
{
    int result = ERAR_SUCCESS;
    if (static_cast<int>(session.cursor) == script.damagedAfter)
        result = ERAR_BAD_DATA;
    else if (session.cursor >= script.entries.size())
        result = ERAR_END_ARCHIVE;
    if (result != ERAR_SUCCESS) {
        record("read -> " + std::to_string(result));
        return result;
    }
    const Entry& entry = script.entries[session.cursor++];
    session.current = &entry;
    std::memset(header->ArcName, 0, sizeof header->ArcName);
    std::memset(header->FileName, 0, sizeof header->FileName);
    std::strncpy(header->FileName, entry.name.c_str(), sizeof header->FileName - 1);
    header->Flags = entry.header.flags;
    header->UnpSize = entry.header.unpSize;
    header->PackSize = entry.header.unpSize;
    header->HostOS = entry.header.hostOS;
    header->FileTime = entry.header.fileTime;
    header->FileAttr = entry.header.fileAttr;
    record("read -> 0 " + entry.name + (header->CmtBuf ? " with comment buffer" : ""));
    return ERAR_SUCCESS;
}

FAKE_EXPORT int RARProcessFile(RAR_HANDLE, int operation, char* destPath, char* destName)
{
    record("process " + std::to_string(operation) + " " + text(destPath) + " " + text(destName));
    const Entry* entry = session.current;
    session.current = nullptr;
    if (!entry)
        return ERAR_BAD_DATA;
    return operation == RAR_SKIP ? ERAR_SUCCESS : extract(*entry, destName);
}

FAKE_EXPORT void RARSetChangeVolProc(RAR_HANDLE, CHANGEVOLPROC proc)
{
    record("set volume callback");
    session.volumeProc = proc;
}

FAKE_EXPORT void RARSetProcessDataProc(RAR_HANDLE, PROCESSDATAPROC proc)
{
    record("set data callback");
    session.dataProc = proc;
}

#ifndef FAKE_RAR_WITHOUT_PASSWORD
FAKE_EXPORT void RARSetPassword(RAR_HANDLE, char* password)
{
    record("password " + text(password));
    session.password = password ? password : "";
}
#endif
