// The program's own folder in the user's data folder, where it keeps what
// belongs to the user rather than to a library: the recovery library and the
// user's preset library.
#ifndef CVQ9_USER_DATA_FOLDER_H
#define CVQ9_USER_DATA_FOLDER_H

#include <string>

// "$XDG_DATA_HOME/cvq9_config_soft", or "$HOME/.local/share/cvq9_config_soft"
// when XDG_DATA_HOME is unset or not an absolute path.
std::string UserDataFolder();

// The folder part of `path` ("." when it has none, "/" for the root).
std::string FolderOf(const std::string &path);

// Creates every missing folder of `folder` (private to the user).
bool MakeFolders(const std::string &folder);

#endif
