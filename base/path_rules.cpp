#include "base/path_rules.h"

#include <algorithm>
#include <string_view>

namespace {

bool isSeparator(char c, PathStyle style)
{
    return c == PathSeparator(style);
}

// Index just past the last separator (or Windows drive colon); 0 when none.
size_t nameStart(const std::string& path, PathStyle style)
{
    for (size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
        if (isSeparator(c, style) || (style == PathStyle::Windows && c == ':'))
            return i;
    }
    return 0;
}

// Drops a leading drive (E:\ or E:) or one leading separator. In the Windows
// style any name holding ":" is taken to start with a drive and loses its
// first three characters when the third is "\", else its first two (all of a
// shorter name).
std::string withoutRoot(const std::string& name, PathStyle style)
{
    if (style == PathStyle::Windows && name.find(':') != std::string::npos)
        return name.substr(std::min(name.size(), name.find('\\') == 2 ? size_t(3) : size_t(2)));
    if (!name.empty() && isSeparator(name.front(), style))
        return name.substr(1);
    return name;
}

bool isRooted(const std::string& path, PathStyle style)
{
    if (style == PathStyle::Windows && path.find(':') != std::string::npos)
        return true;
    return !path.empty() && isSeparator(path.front(), style);
}

// The POSIX style with stored folders, built in place as it is asked for
// every entry: the folders kept as they stand are the name's text up to its
// name part, so the path is extractDir, a "/", the name without one leading
// "/", rooted with a leading "/" when extractDir is not.
void assignStoredPosixPath(std::string& path, const std::string& storedName,
                           const std::string& extractDir)
{
    const std::string_view name =
        std::string_view(storedName).substr(storedName.front() == '/' ? 1 : 0);
    path.clear();
    if (extractDir.empty() || extractDir.front() != '/')
        path += '/';
    path += extractDir;
    if (!extractDir.empty() && extractDir.back() != '/')
        path += '/';
    path += name;
}

} // namespace

char PathSeparator(PathStyle style)
{
    return style == PathStyle::Windows ? '\\' : '/';
}

std::string SlashToBackslash(const std::string& text, PathStyle style)
{
    const char foreign = style == PathStyle::Windows ? '/' : '\\';
    std::string result = text;
    std::replace(result.begin(), result.end(), foreign, PathSeparator(style));
    return result;
}

std::string AppendBackslash(const std::string& path, PathStyle style)
{
    if (path.empty() || isSeparator(path.back(), style))
        return path;
    return path + PathSeparator(style);
}

std::string NamePart(const std::string& path, PathStyle style)
{
    return path.substr(nameStart(path, style));
}

std::string FolderPart(const std::string& path, PathStyle style)
{
    std::string folder = path.substr(0, nameStart(path, style));
    if (folder.empty() || !isSeparator(folder.back(), style))
        return folder;
    const bool keep = folder.size() >= 2
                          ? (folder[folder.size() - 2] == ':' && style == PathStyle::Windows) ||
                                isSeparator(folder[folder.size() - 2], style)
                          : style == PathStyle::Posix; // the POSIX root
    if (!keep)
        folder.pop_back();
    return folder;
}

std::string ExtensionPart(const std::string& path, PathStyle style)
{
    const std::string name = NamePart(path, style);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ExtractDirFor(const std::string& dir, const std::string& archiveFile, PathStyle style)
{
    // Natively "\" is a character of a folder's name: the folder is taken as
    // the file system names it.
    if (!dir.empty())
        return AppendBackslash(style == PathStyle::Windows ? SlashToBackslash(dir, style) : dir,
                               style);
    if (archiveFile.empty())
        return {};
    return AppendBackslash(FolderPart(archiveFile, style), style);
}

void AssignDestinationPath(std::string& path, const std::string& storedName,
                           const std::string& extractDir, bool useStoredDirs, PathStyle style)
{
    if (style == PathStyle::Posix && useStoredDirs && !storedName.empty() && &path != &storedName &&
        &path != &extractDir) {
        assignStoredPosixPath(path, storedName, extractDir);
        return;
    }
    path = DestinationPath(storedName, extractDir, useStoredDirs, style);
}

std::string DestinationPath(const std::string& storedName, const std::string& extractDir,
                            bool useStoredDirs, PathStyle style)
{
    if (storedName.empty())
        return {};
    if (style == PathStyle::Posix && useStoredDirs) {
        std::string path;
        assignStoredPosixPath(path, storedName, extractDir);
        return path;
    }
    std::string name =
        style == PathStyle::Windows ? SlashToBackslash(storedName, style) : storedName;
    std::string path = extractDir;
    if (useStoredDirs) {
        name = withoutRoot(name, style);
        path = AppendBackslash(extractDir, style) + AppendBackslash(FolderPart(name, style), style);
    }
    if (!isRooted(path, style))
        path.insert(path.begin(), PathSeparator(style));
    // Without stored folders the name part comes from the name as stored, so
    // a drive ("E:a.txt", ":a.txt") is cut off at its colon, not by length.
    return path + NamePart(name, style);
}
