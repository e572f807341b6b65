// The read interface shared by the ID3v1 and ID3v2 tags: the file list and the properties dialog
// read the basic fields of either kind through it.
#pragma once

#include "base/String.h"
#include "base/Types.h"

namespace Tags
{

class CTagBase
{
public:
    virtual ~CTagBase() = default;

    virtual CString GetTitle() const = 0;
    virtual CString GetAlbum() const = 0;
    virtual CString GetArtist() const = 0;
    // The year as text, whatever the tag holds.
    virtual CString GetYear() const = 0;
    virtual CString GetComment() const = 0;
    // 0 when there is no track number.
    virtual int GetTrack() const = 0;
    // The genre name, empty when there is none.
    virtual CString GetGenre() const = 0;
    // TRUE when the tag holds nothing worth writing; an empty tag is removed instead of saved.
    virtual BOOL IsEmpty() const = 0;

protected:
    CTagBase() = default;
    CTagBase(const CTagBase&) = default;
    CTagBase& operator=(const CTagBase&) = default;
};

} // namespace Tags
