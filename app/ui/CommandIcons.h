// The program's own images, drawn at run time: the toolbar and menu images of the commands, the
// information sign of the busy status pane and the window icon.
#pragma once

#include "base/Types.h"

#include <QIcon>
#include <QPixmap>

namespace CommandIcons
{

// A 16 x 16 image for a command of the toolbar or the menus; a null icon for others. The
// inactive (disabled) form is the style's greyed version of it.
QIcon GetCommandIcon(UINT nID);
// The busy pane's information sign, 16 x 16, transparent around it.
QPixmap GetInformationPixmap();
// The window icon.
QIcon GetAppIcon();

} // namespace CommandIcons
