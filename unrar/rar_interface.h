#pragma once

// The published C interface of a RAR decompression library, as the installer
// binds it at run time. Used by the project's own libunrar.so, the engine's
// binding and the test doubles alike.

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ERAR_SUCCESS 0
#define ERAR_END_ARCHIVE 10
#define ERAR_NO_MEMORY 11
#define ERAR_BAD_DATA 12
#define ERAR_BAD_ARCHIVE 13
#define ERAR_UNKNOWN_FORMAT 14
#define ERAR_EOPEN 15
#define ERAR_ECREATE 16
#define ERAR_ECLOSE 17
#define ERAR_EREAD 18
#define ERAR_EWRITE 19
#define ERAR_SMALL_BUF 20
#define ERAR_UNKNOWN 21
#define ERAR_MISSING_PASSWORD 22
#define ERAR_EREFERENCE 23
#define ERAR_BAD_PASSWORD 24
#define ERAR_LARGE_DICT 25

#define RAR_OM_LIST 0
#define RAR_OM_EXTRACT 1
#define RAR_OM_LIST_INCSPLIT 2

#define RAR_SKIP 0
#define RAR_TEST 1
#define RAR_EXTRACT 2

#define RAR_VOL_ASK 0
#define RAR_VOL_NOTIFY 1

#define RHDF_SPLITBEFORE 0x01
#define RHDF_SPLITAFTER 0x02
#define RHDF_ENCRYPTED 0x04
#define RHDF_SOLID 0x10
#define RHDF_DIRECTORY 0x20

#define RAR_HOST_MSDOS 0
#define RAR_HOST_OS2 1
#define RAR_HOST_WIN32 2
#define RAR_HOST_UNIX 3

// Size of the name fields of RARHeaderData and RARHeaderDataEx, terminating
// zero included.
#define RAR_NAME_SIZE 260
#define RAR_NAME_SIZE_EX 1024

// RARHeaderDataEx.RedirType: what a redirection entry stands for.
#define RAR_REDIR_NONE 0
#define RAR_REDIR_UNIXSYMLINK 1
#define RAR_REDIR_WINSYMLINK 2
#define RAR_REDIR_JUNCTION 3
#define RAR_REDIR_HARDLINK 4
#define RAR_REDIR_FILECOPY 5

#pragma pack(push, 1)

struct RAROpenArchiveData {
    char* ArcName;
    unsigned int OpenMode;
    unsigned int OpenResult;
    char* CmtBuf;
    unsigned int CmtBufSize;
    unsigned int CmtSize;
    unsigned int CmtState;
};

struct RARHeaderData {
    char ArcName[RAR_NAME_SIZE];
    char FileName[RAR_NAME_SIZE];
    unsigned int Flags;
    unsigned int PackSize;
    unsigned int UnpSize;
    unsigned int HostOS;
    unsigned int FileCRC;
    unsigned int FileTime;
    unsigned int UnpVer;
    unsigned int Method;
    unsigned int FileAttr;
    char* CmtBuf;
    unsigned int CmtBufSize;
    unsigned int CmtSize;
    unsigned int CmtState;
};

// The extended header record: longer names, 64-bit sizes, the kind of link.
// Its size is fixed; later fields of the published record live in Reserved.
struct RARHeaderDataEx {
    char ArcName[RAR_NAME_SIZE_EX];
    wchar_t ArcNameW[RAR_NAME_SIZE_EX];
    char FileName[RAR_NAME_SIZE_EX];
    wchar_t FileNameW[RAR_NAME_SIZE_EX];
    unsigned int Flags;
    unsigned int PackSize;
    unsigned int PackSizeHigh;
    unsigned int UnpSize;
    unsigned int UnpSizeHigh;
    unsigned int HostOS;
    unsigned int FileCRC;
    unsigned int FileTime;
    unsigned int UnpVer;
    unsigned int Method;
    unsigned int FileAttr;
    char* CmtBuf;
    unsigned int CmtBufSize;
    unsigned int CmtSize;
    unsigned int CmtState;
    unsigned int DictSize;
    unsigned int HashType;
    char Hash[32];
    unsigned int RedirType;
    wchar_t* RedirName;
    unsigned int RedirNameSize;
    unsigned int DirTarget;
    unsigned int MtimeLow;
    unsigned int MtimeHigh;
    unsigned int CtimeLow;
    unsigned int CtimeHigh;
    unsigned int AtimeLow;
    unsigned int AtimeHigh;
    unsigned int Reserved[988];
};

#pragma pack(pop)

typedef void* RAR_HANDLE;
typedef int (*CHANGEVOLPROC)(char* ArcName, int Mode);
typedef int (*PROCESSDATAPROC)(unsigned char* Addr, int Size);

// The function types, for binding by name.
typedef RAR_HANDLE (*RAROpenArchiveFn)(struct RAROpenArchiveData* ArchiveData);
typedef int (*RARCloseArchiveFn)(RAR_HANDLE hArcData);
typedef int (*RARReadHeaderFn)(RAR_HANDLE hArcData, struct RARHeaderData* HeaderData);
typedef int (*RARReadHeaderExFn)(RAR_HANDLE hArcData, struct RARHeaderDataEx* HeaderData);
typedef int (*RARProcessFileFn)(RAR_HANDLE hArcData, int Operation, char* DestPath, char* DestName);
typedef void (*RARSetChangeVolProcFn)(RAR_HANDLE hArcData, CHANGEVOLPROC ChangeVolProc);
typedef void (*RARSetProcessDataProcFn)(RAR_HANDLE hArcData, PROCESSDATAPROC ProcessDataProc);
typedef void (*RARSetPasswordFn)(RAR_HANDLE hArcData, char* Password);
typedef int (*RARGetDllVersionFn)(void);

#ifdef RAR_INTERFACE_DECLARE_FUNCTIONS
RAR_HANDLE RAROpenArchive(struct RAROpenArchiveData* ArchiveData);
int RARCloseArchive(RAR_HANDLE hArcData);
int RARReadHeader(RAR_HANDLE hArcData, struct RARHeaderData* HeaderData);
int RARReadHeaderEx(RAR_HANDLE hArcData, struct RARHeaderDataEx* HeaderData);
int RARProcessFile(RAR_HANDLE hArcData, int Operation, char* DestPath, char* DestName);
void RARSetChangeVolProc(RAR_HANDLE hArcData, CHANGEVOLPROC ChangeVolProc);
void RARSetProcessDataProc(RAR_HANDLE hArcData, PROCESSDATAPROC ProcessDataProc);
void RARSetPassword(RAR_HANDLE hArcData, char* Password);
int RARGetDllVersion(void);
#endif

#ifdef __cplusplus
}
#endif
