#include "tags/id3v2/SyncSafe.h"

namespace Tags::ID3v2Tag
{

UINT ReadSyncSafe(const BYTE* pData)
{
    return (static_cast<UINT>(pData[0] & 0x7F) << 21) | (static_cast<UINT>(pData[1] & 0x7F) << 14) |
           (static_cast<UINT>(pData[2] & 0x7F) << 7) | static_cast<UINT>(pData[3] & 0x7F);
}

BOOL IsSyncSafe(const BYTE* pData)
{
    return ((pData[0] | pData[1] | pData[2] | pData[3]) & 0x80) == 0;
}

void WriteSyncSafe(BYTE* pDest, UINT nValue)
{
    pDest[0] = static_cast<BYTE>((nValue >> 21) & 0x7F);
    pDest[1] = static_cast<BYTE>((nValue >> 14) & 0x7F);
    pDest[2] = static_cast<BYTE>((nValue >> 7) & 0x7F);
    pDest[3] = static_cast<BYTE>(nValue & 0x7F);
}

UINT ReadUInt24(const BYTE* pData)
{
    return (static_cast<UINT>(pData[0]) << 16) | (static_cast<UINT>(pData[1]) << 8) |
           static_cast<UINT>(pData[2]);
}

UINT ReadUInt32(const BYTE* pData)
{
    return (static_cast<UINT>(pData[0]) << 24) | (static_cast<UINT>(pData[1]) << 16) |
           (static_cast<UINT>(pData[2]) << 8) | static_cast<UINT>(pData[3]);
}

void WriteUInt32(BYTE* pDest, UINT nValue)
{
    pDest[0] = static_cast<BYTE>(nValue >> 24);
    pDest[1] = static_cast<BYTE>(nValue >> 16);
    pDest[2] = static_cast<BYTE>(nValue >> 8);
    pDest[3] = static_cast<BYTE>(nValue);
}

} // namespace Tags::ID3v2Tag
