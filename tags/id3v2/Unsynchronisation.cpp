#include "tags/id3v2/Unsynchronisation.h"

namespace Tags::ID3v2Tag
{

std::vector<BYTE> DecodeUnsynchronisation(const BYTE* pSource, UINT nSourceLength)
{
    std::vector<BYTE> decoded;
    if (pSource == nullptr || nSourceLength == 0)
    {
        return decoded;
    }
    decoded.reserve(nSourceLength);
    decoded.push_back(pSource[0]);
    for (UINT i = 1; i < nSourceLength; ++i)
    {
        if (pSource[i] == 0x00 && pSource[i - 1] == 0xFF)
        {
            continue;
        }
        decoded.push_back(pSource[i]);
    }
    return decoded;
}

UINT EncodedLength(const BYTE* pSource, UINT nSourceLength, UINT nDecodedLength)
{
    UINT nDecoded = 0;
    UINT i = 0;
    for (; i < nSourceLength; ++i)
    {
        if (i > 0 && pSource[i] == 0x00 && pSource[i - 1] == 0xFF)
        {
            continue;
        }
        if (nDecoded == nDecodedLength)
        {
            break;
        }
        ++nDecoded;
    }
    return i;
}

} // namespace Tags::ID3v2Tag
