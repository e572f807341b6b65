// Undoing the ID3v2 unsynchronisation scheme, which inserts a zero byte after every 0xFF that
// could be mistaken for an MPEG sync. The program never writes unsynchronised data.
#pragma once

#include "base/Types.h"

#include <vector>

namespace Tags::ID3v2Tag
{

// The decoded copy of nSourceLength bytes: a 0x00 that follows a 0xFF in the source is dropped.
// The test looks at the previous source byte, so FF 00 00 becomes FF 00. The result is never
// longer than the source and is empty for an empty source.
std::vector<BYTE> DecodeUnsynchronisation(const BYTE* pSource, UINT nSourceLength);

// How many of the nSourceLength source bytes decode to the first nDecodedLength decoded bytes,
// the zero bytes dropped right after them included: where those bytes end in the source.
UINT EncodedLength(const BYTE* pSource, UINT nSourceLength, UINT nDecodedLength);

} // namespace Tags::ID3v2Tag
