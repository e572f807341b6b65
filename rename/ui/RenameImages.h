// The images of the rename confirmation, drawn at run time: our own artwork, sharp at 16 x 16
// and at twice that size.
#pragma once

#include "rename/RenamePlan.h"

#include <QIcon>

namespace RenameImages
{

// The image of the list: a blue arrow pointing right, a green check mark, a yellow warning
// triangle or a red cross.
QIcon CreateImage(ERenameImage nImage);

} // namespace RenameImages
