// The file list's context menus: menu 322 on the items, with the rename presets as a submenu,
// and menu 318 on the header. Each entry carries its command number and the list's enabled
// state at the moment the menu is made, and runs the command through the list.
#pragma once

#include "base/String.h"

#include <memory>
#include <vector>

class CFileView;
class QMenu;

namespace FileViewMenus
{

// arrPresets: the patterns of the stored presets, in order.
std::unique_ptr<QMenu> CreateItemMenu(CFileView& view, const std::vector<CString>& arrPresets);
std::unique_ptr<QMenu> CreateHeaderMenu(CFileView& view);

} // namespace FileViewMenus
