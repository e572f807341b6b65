// The identifiers the library answers to: its one creatable class and the shell's
// extension-initialisation interface, which this library calls IMenuhookInit.
#pragma once

#include <windows.h>

// {5A6DE7BD-86AE-47C7-B886-192E505D51FB}
inline constexpr CLSID CLSID_FileContextMenuExt = {
    0x5A6DE7BD, 0x86AE, 0x47C7, {0xB8, 0x86, 0x19, 0x2E, 0x50, 0x5D, 0x51, 0xFB}};

// {000214E8-0000-0000-C000-000000000046}: the IID under which Explorer asks an extension to
// take the selection.
inline constexpr IID IID_IMenuhookInit = {
    0x000214E8, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
