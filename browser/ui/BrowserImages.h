// The file browser's images, drawn at run time so the program carries no third-party art.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace BrowserImages
{

// 16 x 16: the red round error mark of the diagnostics list, transparent around it.
QPixmap CreateErrorImage();
// 16 x 16: a sheet with a note, for files whose type the icon theme does not know.
QIcon CreateAudioFileIcon();
// 96 x 96, transparent, with a grey up-arrow near the top and a grey down-arrow near the bottom:
// the background of the drag image.
QPixmap CreateDragBackground();
// 16 x 16 arrows of the "Move Up" and "Move Down" buttons.
QIcon CreateArrowIcon(bool bUp);

} // namespace BrowserImages
