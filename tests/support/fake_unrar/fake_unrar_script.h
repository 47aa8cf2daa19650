#pragma once

// The scripting interface of the fake RAR library: tests describe the archive
// the fake pretends to read and read back every library call it received.

#ifdef __cplusplus
extern "C" {
#endif

struct FakeRarEntry {
    const char* name; // stored in FileName as is, cut to fit
    unsigned int flags;
    unsigned int hostOS;
    unsigned int fileAttr;
    unsigned int unpSize;
    unsigned int fileTime;
    int extractResult;          // what RAR_EXTRACT answers once the data is through
    const unsigned int* blocks; // sizes handed to the data callback, in order
    int blockCount;
    const char* missingVolume; // when set, the volume asked for before the data
};

typedef void (*FakeRarResetFn)(void);
typedef void (*FakeRarSetOpenResultFn)(int code);
typedef void (*FakeRarAddEntryFn)(const struct FakeRarEntry* entry);
typedef void (*FakeRarSetDamagedHeaderAfterFn)(int entries);
typedef int (*FakeRarCallCountFn)(void);
typedef const char* (*FakeRarCallFn)(int index);

#ifdef __cplusplus
}
#endif
