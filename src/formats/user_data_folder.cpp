#include "user_data_folder.h"

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>

std::string UserDataFolder()
{
    const char *data_home = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (data_home && data_home[0] == '/') {
        base = data_home;
    } else {
        const char *home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.local/share";
    }
    return base + "/cvq9_config_soft";
}

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool MakeFolders(const std::string &folder)
{
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}
