// Resource numbers of the library.
#pragma once

// The menu item's bitmap: 13 x 13 at 8 bits per pixel for Windows before Vista, 16 x 16 at 32
// bits per pixel with alpha from Vista on.
#define IDB_MENU_BITMAP_8BPP 101
#define IDB_MENU_BITMAP_32BPP 102
