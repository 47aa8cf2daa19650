#include "archive/message_table.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct MessageRow {
    int32_t code;
    std::string_view text;
};

// Sorted by code.
constexpr std::array kMessages{
    MessageRow{25102, "File is read-only"},
    MessageRow{25103, "File is hidden"},
    MessageRow{25104, "File is a SysFile"},
    MessageRow{25105, "File is a directory"},
    MessageRow{25106, "File is a VolumeID"},
    MessageRow{25107, "Invalid file attribute"},
    MessageRow{25108, "Bad file header"},
    MessageRow{25109, "Bad block"},
    MessageRow{25110, "Bad Huffman code"},
    MessageRow{25111, "Invalid code encountered"},
    MessageRow{25112, "Invalid comment header"},
    MessageRow{25113, "No BEGIN line"},
    MessageRow{25114, "Incorrect number of bits"},
    MessageRow{25115, "Error writing to file"},
    MessageRow{25117, "Error closing file"},
    MessageRow{25118, "Incomplete code set"},
    MessageRow{25119, "Error creating dir"},
    MessageRow{25120, "File fails CRC check"},
    MessageRow{25121, "File contains invalid decode tree"},
    MessageRow{25123, "Invalid directory"},
    MessageRow{25124, "Invalid directory... defaulting to current"},
    MessageRow{25125, "Disk full"},
    MessageRow{25126, "Unexpected end of file"},
    MessageRow{25127, "End of line expected"},
    MessageRow{25128, "EOL not found"},
    MessageRow{25129, "Error deleting file(s)"},
    MessageRow{25130, "Command exec failed"},
    MessageRow{25132, "File not found"},
    MessageRow{25133, "File size different"},
    MessageRow{25134, "Warning, unknown flags"},
    MessageRow{25135, "Error opening file"},
    MessageRow{25136, "Error reading file or unexpected end of file"},
    MessageRow{25137, "Header CRC error"},
    MessageRow{25138, "Header ID error"},
    MessageRow{25139, "Unexpected line break"},
    MessageRow{25140, "Line found before 'BEGIN'"},
    MessageRow{25141, "Skipped illegal char"},
    MessageRow{25142, "Invalid or unsupported archive type for this operation"},
    MessageRow{25143, "Invalid file name"},
    MessageRow{25144, "Bad lengths"},
    MessageRow{25145, "Inconsistant local header"},
    MessageRow{25148, "LZX method not supported"},
    MessageRow{25150, "Maximum volumes 999"},
    MessageRow{25153, "Out of memory"},
    MessageRow{25155, "Uninitialized TMemoryStream object"},
    MessageRow{25156, "Uninitialized TFileStream object"},
    MessageRow{25157, "Header not found. File may be corrupt"},
    MessageRow{25158, "UnRAR dll not found"},
    MessageRow{25159, "UnCAB dll not found"},
    MessageRow{25162, "Multi-Part GZIP files not supported"},
    MessageRow{25163, "Too many nested dirs"},
    MessageRow{25164, "Nothing to decode"},
    MessageRow{25170, "Required event not assigned"},
    MessageRow{25180, "Open quote, but no close quote"},
    MessageRow{25181, "Open paran, but no close paran"},
    MessageRow{25190, "Password protected"},
    MessageRow{25191, "Seek error"},
    MessageRow{25192, "Ambiguous Shannon-Fano decode tree encountered"},
    MessageRow{25193, "No desktop folder"},
    MessageRow{25194, "Error getting SHGetSpecialFolderLocation"},
    MessageRow{25195, "Error getting Shell memory allocator"},
    MessageRow{25196, "Illegal text for search mode"},
    MessageRow{25197, "Stack overflow"},
    MessageRow{25198, "Stream read/write error"},
    MessageRow{25199, "Streaming not supported with this archive type"},
    MessageRow{25200, "Unsupported compression method"},
    MessageRow{25202, "Unknown file type"},
    MessageRow{25204, "Unsupported version"},
    MessageRow{25210, "Error updating archive"},
    MessageRow{25300, "User Aborted"},
    MessageRow{25302, "Version error"},
    MessageRow{25350, "Requires Win32 api"},
    MessageRow{25351, "This operation requires a newer version of the archive components"},
    MessageRow{25901, "Extraction of this cabinet requires first disk of set"},
    MessageRow{25902, "Previous volume in set"},
    MessageRow{25903, "Next volume in set"},
    MessageRow{25904, "Cabinet does not belong with this set"},
    MessageRow{26000, "All_files (*.*)|*.*"},
    MessageRow{26001, "ALL Archives |*.arc;*.arj;*.bh;*.cab;*.enc;*.exe;*.gz;*.ha;*.lha;*.lzh;"
                      "*.pak;*.rar;*.tar;*.uue;*.xxe;*.z;*.zip;*.zoo"},
    MessageRow{26002, "Executables (*.exe)"},
    MessageRow{26003, "All_ZIPs (*.zip,*.exe)|*.zip;*.exe"},
    MessageRow{26004, "All_GZips (*.gz,*.z)|*.gz;*.z"},
    MessageRow{26005, "All_ARCs (*.arc,*.exe)|*.arc;*.exe"},
    MessageRow{26006, "All_ARJs (*.arj,*.exe)|*.arj;*.exe"},
    MessageRow{26007, "All_LHAs (*.lha,*.lzh)|*.lha;*.lzh"},
    MessageRow{26008, "All_BlakHole  (*.bh ,*.exe)|*.bh;*.exe"},
    MessageRow{26009, "All_TARs (*.tar)|*.tar"},
    MessageRow{26010, "All_CABs (*.cab)|*.cab"},
    MessageRow{26011, "All_UUEs (*.uue,*.xxe,*.enc)|*.uue;*.xxe;*.enc"},
    MessageRow{26517, "Invalid password"},
    MessageRow{26522, "Password failed"},
    MessageRow{26900, "Skipped File"},
    MessageRow{26999, "Nothing to do"},
};

static_assert(std::is_sorted(kMessages.begin(), kMessages.end(),
                             [](const MessageRow& a, const MessageRow& b) {
                                 return a.code < b.code;
                             }));

} // namespace

std::string MessageText(int32_t code)
{
    const auto it = std::lower_bound(kMessages.begin(), kMessages.end(), code,
                                     [](const MessageRow& row, int32_t c) { return row.code < c; });
    if (it == kMessages.end() || it->code != code)
        return {};
    return std::string(it->text);
}
