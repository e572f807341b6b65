// The MPEG audio properties over arbitrary audio bytes: the whole input as the audio range, and
// a range that starts and ends inside it, chosen by the first byte.
#include "FuzzInput.h"

#include "tags/mpeg/MpegProperties.h"

using namespace Tags;

namespace
{

void Measure(Fuzz::CMemoryFile& file, UINT nStart, UINT nEnd)
{
    CMpegProperties properties(file, nStart, nEnd);
    Fuzz::Check(properties.GetLength() >= 0, "the length is not negative");
    Fuzz::Check(properties.GetBitrate() >= 0, "the bit rate is not negative");
    Fuzz::Check(properties.GetSampleRate() >= 0, "the sample rate is not negative");
    Fuzz::Check(properties.GetChannels() >= 0 && properties.GetChannels() <= 2,
                "one or two channels");
    // Measuring again from scratch gives the same answers.
    CMpegProperties again(file, 0, 0);
    again.Read(file, nStart, nEnd);
    Fuzz::Check(again.GetLength() == properties.GetLength() &&
                    again.GetBitrate() == properties.GetBitrate() &&
                    again.GetSampleRate() == properties.GetSampleRate() &&
                    again.GetChannels() == properties.GetChannels(),
                "a second reading agrees");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize > 1024 * 1024)
        return -1;
    Fuzz::CMemoryFile file(pData, nSize);
    const UINT nSize32 = static_cast<UINT>(nSize);
    Measure(file, 0, nSize32);

    const Fuzz::tagSPLITINPUT in(pData, nSize);
    const UINT nStart = static_cast<UINT>(in.nRest * (in.nOptions & 15) / 16);
    const UINT nEnd = nSize32 - static_cast<UINT>(in.nRest * (in.nOptions >> 4) / 32);
    Measure(file, nStart + 1, nEnd);
    // A range that claims far more than the file holds reads only what is there.
    Measure(file, nStart, 0xFFFFFFF0u);
    return 0;
}
