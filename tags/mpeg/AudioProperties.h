// The audio facts the file list shows for every file, whatever kind of audio it holds.
#pragma once

namespace Tags
{

class CAudioProperties
{
public:
    virtual ~CAudioProperties() = default;

    // Playing time in whole seconds.
    virtual int GetLength() const = 0;
    // Average bit rate in kbit/s.
    virtual int GetBitrate() const = 0;
    // Samples per second.
    virtual int GetSampleRate() const = 0;
    // 1 or 2; 0 when nothing could be measured.
    virtual int GetChannels() const = 0;

protected:
    CAudioProperties() = default;
    CAudioProperties(const CAudioProperties&) = default;
    CAudioProperties& operator=(const CAudioProperties&) = default;
};

} // namespace Tags
