// The top-level items of the folder tree: the user's home, the root of the file system and the
// mounted volumes.
#pragma once

#include <QString>
#include <vector>

struct tagFOLDERROOT
{
    enum Kind
    {
        ROOT_HOME,
        ROOT_FILE_SYSTEM,
        ROOT_VOLUME
    };

    Kind nKind = ROOT_FILE_SYSTEM;
    QString strName; // the text shown in the tree
    QString strPath; // absolute, no trailing separator but for "/"; empty for none
};

namespace FolderRoots
{

// The mount points of real file systems under /media, /mnt and /run/media in a mounts table
// (the text of /proc/self/mounts), in the table's order, each once. Kernel and automounter
// placeholders are left out.
std::vector<QString> ParseMountedVolumes(const QString& strMounts);

// Home, the file system's root, then the mounted volumes of /proc/self/mounts.
std::vector<tagFOLDERROOT> GetFolderRoots();

} // namespace FolderRoots
