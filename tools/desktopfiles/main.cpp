// desktopfiles PROGRAM ICON FOLDER: writes the desktop entry and the context-menu entries of
// Dolphin and Nemo that start PROGRAM, as the system's (unmarked) entries, below FOLDER, the data
// folder of an install (share/). Nautilus has no system-wide scripts; its entry stays the user's.
#include "app/DesktopEntries.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{

bool Write(const std::filesystem::path& path, const std::string& strText)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << strText;
    file.close();
    if (!file)
        std::fprintf(stderr, "desktopfiles: cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: desktopfiles PROGRAM ICON FOLDER\n");
        return 2;
    }
    const std::string strProgram = argv[1];
    const std::string strIcon = argv[2];
    const std::filesystem::path folder = argv[3];
    bool bOk = Write(folder / DesktopEntries::DESKTOP_ENTRY_PATH,
                     DesktopEntries::MakeDesktopEntry(strProgram, strIcon, false));
    bOk = Write(folder / DesktopEntries::SERVICE_MENU_PATH,
                DesktopEntries::MakeServiceMenu(strProgram, strIcon, false)) &&
          bOk;
    bOk = Write(folder / DesktopEntries::NEMO_ACTION_PATH,
                DesktopEntries::MakeNemoAction(strProgram, strIcon, false)) &&
          bOk;
    return bOk ? 0 : 1;
}
