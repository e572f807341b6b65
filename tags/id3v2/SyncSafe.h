// The big-endian integer encodings of ID3v2: plain 24-bit (2.2 frame sizes), plain 32-bit (2.3
// frame sizes) and sync-safe 32-bit, 7 bits per byte with bit 7 clear (tag sizes, 2.4 frame sizes,
// extended header sizes). Every function reads or writes exactly the bytes it names.
#pragma once

#include "base/Types.h"

namespace Tags::ID3v2Tag
{

// Largest value four sync-safe bytes hold (28 bits).
inline constexpr UINT SYNCSAFE_MAX = 0x0FFFFFFF;

// Value of 4 sync-safe bytes; bit 7 of each byte is ignored.
UINT ReadSyncSafe(const BYTE* pData);
// TRUE when none of the 4 bytes has bit 7 set.
BOOL IsSyncSafe(const BYTE* pData);
// Writes 4 sync-safe bytes; bits above bit 27 are dropped.
void WriteSyncSafe(BYTE* pDest, UINT nValue);

UINT ReadUInt24(const BYTE* pData);
UINT ReadUInt32(const BYTE* pData);
void WriteUInt32(BYTE* pDest, UINT nValue);

} // namespace Tags::ID3v2Tag
