#pragma once

#include <string>
#include <vector>

#include "platform/Result.h"

namespace tess {

// Where each kind of file lives. A copy the user can write to (a portable copy, the build tree)
// keeps everything in its own folder; an installed, read-only one splits it by who owns what.
struct Folders {
    // The running program's folder: the explorer beside the converter, "Location", "TesAppPath".
    std::string program;
    // What the user makes and keeps: the "Mosaics" folder, the speed log, the visual-style
    // manifest.
    std::string data;
    // What the programs make for themselves and delete again: the undo files, "~" files. Private
    // to the user (mode 0700) when it is not the program folder. Empty when none could be made,
    // and then such files cannot be written.
    std::string scratch;
    // The folders whose "*.tgl" graphics libraries are offered, the shipped one first.
    std::vector<std::string> graphics;

    // Everything in one folder, as a copy that can write its own folder has it.
    static Folders inOne(const std::string& folder);

    // The "Mosaics" folder of the data folder, where pages are proposed and the explorer starts.
    std::string mosaics() const;
};

// What the choice depends on, read from the process by the caller so tests can set every piece.
struct FolderEnvironment {
    std::string programFolder;     // the executable's folder
    bool programWritable = false;  // whether the user may write there (folderWritable)
    std::string home;              // $HOME
    std::string dataHome;          // $XDG_DATA_HOME, empty when unset
    std::string cacheHome;         // $XDG_CACHE_HOME, empty when unset
    std::string runtimeDir;        // $XDG_RUNTIME_DIR, empty when unset
};

// Decides the folders and makes the per-user ones that are missing (the data folder and its
// "Mosaics" folder, the private scratch folder). A folder that cannot be made is still named,
// except the scratch folder, which is left empty rather than shared with anybody else.
Folders chooseFolders(const FolderEnvironment& env);

// Makes `path` (and its missing parents, with mode 0700) as a folder only this user can enter:
// an existing one must be a real folder (not a link) owned by the user, and loses any group and
// other permissions. Gives the reason when the folder cannot be made safe.
Status makePrivateFolder(const std::string& path);

// Makes `path` and its missing parents (new ones with mode 0700); an existing folder is kept as
// it is.
Status makeFolders(const std::string& path);

// Whether the user may create and remove files in `folder`.
bool folderWritable(const std::string& folder);

}  // namespace tess
