#include "shell_rules.h"

#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "config_tables.h"
#include "cross_functions.h"

namespace {

std::wstring BytesToWide(const char *bytes, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i < size && bytes[i] != '\0'; ++i)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])));
    return text;
}

}  // namespace

std::wstring ProgramDirectoryFromLink(const char *link, size_t size)
{
    std::wstring path = BytesToWide(link, size);
    while (path.size() > 1 && path.back() != L'/')
        path.pop_back();
    return path;
}

std::wstring ReadProgramDirectory(int pid)
{
    char name[64];
    std::snprintf(name, sizeof name, "/proc/%d/exe", pid);
    // The link text is not terminated by the system: the buffer is cleared first.
    std::vector<char> link(2048, '\0');
    const ssize_t n = readlink(name, link.data(), link.size() - 1);
    if (n > 0)
        return ProgramDirectoryFromLink(link.data(), static_cast<size_t>(n));

    std::vector<char> cwd(PATH_MAX + 1, '\0');
    if (getcwd(cwd.data(), cwd.size() - 1) == nullptr)
        return L"/";
    std::wstring dir = BytesToWide(cwd.data(), cwd.size());
    if (dir.empty() || dir.back() != L'/')
        dir.push_back(L'/');
    return dir;
}

unsigned StoredControlIndex(long stored)
{
    if (stored < 0 || stored > static_cast<long>(LAST_CONTROL_INDEX))
        return 8;
    return static_cast<unsigned>(stored);
}

unsigned StoredCurrentGroup(long stored)
{
    if (stored < 0 || stored >= static_cast<long>(GROUP_NB))
        return 1;
    return static_cast<unsigned>(stored);
}

std::wstring StoredVersionText(const std::wstring &stored, const std::wstring &fallback)
{
    return stored.empty() ? fallback : stored;
}

bool StoredOption(long stored)
{
    return (stored & 1) != 0;
}

int MainFrameWidth(int border_x, int edge_x)
{
    const int border = border_x > 0 ? border_x : 0;
    const int edge = edge_x > 0 ? edge_x : 0;
    return 2 * (border + edge) + 794;
}

LibraryState AfterNew(const LibraryState &, const std::wstring &path)
{
    return LibraryState{path, true, false};
}

LibraryState AfterOpen(const LibraryState &s, const std::wstring &path, bool loaded)
{
    return loaded ? LibraryState{path, false, false} : s;
}

LibraryState AfterSaveAs(const LibraryState &s, const std::wstring &path, bool saved)
{
    return saved ? LibraryState{path, false, false} : s;
}

LibraryState AfterSaveToCurrentFile(const LibraryState &s, bool saved)
{
    // Saved to its file, the library holds nothing unsaved any more.
    return saved ? LibraryState{s.file_path, false, s.default_loaded} : s;
}

std::wstring LibraryLabelText(const std::wstring &path, bool unsaved, bool recovered)
{
    std::wstring text = path.empty() ? (recovered ? L"recovered work" : L"-") : path;
    if (unsaved)
        text += L" (unsaved)";
    return text;
}

LibraryState AfterLoadDefault(const LibraryState &s)
{
    return LibraryState{s.file_path, true, true};
}

LibraryState AfterImport(const LibraryState &s, const std::wstring &saved_path, bool saved)
{
    if (saved)
        return LibraryState{saved_path, false, false};
    LibraryState unsaved = s;
    unsaved.need_to_save = true;
    return unsaved;
}

LibraryState CurrentLibraryState()
{
    return LibraryState{FilePath, need_to_save_lib, default_lib_loaded};
}

void ApplyLibraryState(const LibraryState &s)
{
    FilePath = s.file_path;
    need_to_save_lib = s.need_to_save;
    default_lib_loaded = s.default_loaded;
}
