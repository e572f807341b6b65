// The audio properties of an MPEG audio stream, measured from its first frame header and, when
// the stream has one, its Xing or Info header; the rest of the stream is never scanned.
#pragma once

#include "base/Types.h"
#include "tags/mpeg/AudioProperties.h"

namespace Tags
{

class CFileEx;

class CMpegProperties : public CAudioProperties
{
public:
    // Bytes read per step while looking for the first frame header.
    static constexpr UINT CHUNK_SIZE = 1024;

    // All members start at 0; when the file is open, Read measures the audio range
    // [nStart, nEnd).
    CMpegProperties(CFileEx& file, UINT nStart, UINT nEnd);
    ~CMpegProperties() override;
    CMpegProperties(const CMpegProperties&) = default;
    CMpegProperties& operator=(const CMpegProperties&) = default;

    int GetLength() const override;
    int GetBitrate() const override;
    int GetSampleRate() const override;
    int GetChannels() const override;

    // Takes the first frame-header candidate in [nStart, nEnd) and computes the properties from
    // it; nothing outside the range is read. TRUE when the candidate is a valid header. Every
    // member is reset first, so a range without a candidate leaves them all 0. File errors are
    // raised as CFileException.
    BOOL Read(CFileEx& file, UINT nStart, UINT nEnd);

protected:
    int m_nLength = 0;  // whole seconds
    int m_nBitrate = 0; // kbit/s
    int m_nSampleRate = 0;
    int m_nChannels = 0;

public:
    // The header facts, which the properties dialog reads directly.
    int m_nLayer = 0;
    int m_nVersion = 0;
    int m_nChannelMode = 0;
    int m_nEmphasis = 0;
    BOOL m_bProtected = FALSE;
    BOOL m_bCopyrighted = FALSE;
    BOOL m_bOriginal = FALSE;

private:
    void Reset();
};

} // namespace Tags
