// The frame conversions applied before a tag is written as ID3v2.3 or ID3v2.4: frames the target
// version does not define are renamed to their equivalents or kept as TXXX frames described by
// their meaning, and the date frames of the two versions are translated into each other so that
// the year survives a change of version.
#pragma once

#include "base/String.h"
#include "tags/id3v2/FrameList.h"

namespace Tags::ID3v2Tag
{

// For 2.3. TDRC "yyyy[-MM[-DD[THH[:mm[:ss]]]]]" becomes TYER "yyyy", followed by TDAT "DDMM" when
// day and month are given and TIME "HHMM" when hour and minute are; a text that does not begin
// with four digits is kept whole as TYER. That is done for the first TDRC of a tag that holds
// none of TYER, TDAT and TIME; any other TDRC becomes TRDA, so that no date frame is doubled and
// nothing is lost. TDOR becomes TORY with its year (or its whole text, as for TDRC). TIPL and
// TMCL become IPLS; TDEN, TDRL, TDTG, TMOO, TPRO, TSOA, TSOP, TSOT and TSST become TXXX frames
// described by their meaning. Then every frame's header gets version 3.
void ConvertFramesToV23(CFrameList& frames);

// For 2.4. The first TYER becomes TDRC "yyyy[-MM-DD[THH:mm]]": with the date of the first TDAT
// "DDMM" when the year is four digits and the date is valid, and then with the time of the first
// TIME "HHMM" when that is valid; those TDAT and TIME frames are then part of the TDRC and go.
// A tag never holds more than one TDRC afterwards: when a TYER made one, a TDRC the tag already
// held becomes TXXX "TDRC" and a TRDA becomes TXXX "TRDA"; otherwise the first TDRC stays, or
// else the first TRDA becomes the TDRC. TORY becomes TDOR and IPLS TIPL; TDAT, TIME, TSIZ and any
// further TYER become TXXX frames ("DATE", "TIME", "AUDIOFILE SIZE", "YEAR"). Then every frame's
// header gets version 4.
void ConvertFramesToV24(CFrameList& frames);

// The parts of an ID3v2.4 time stamp "yyyy[-MM[-DD[THH[:mm[:ss]]]]]" as far as they are given
// and valid; -1 for a part that is not. FALSE when the text does not begin with four digits.
struct tagTIMESTAMP
{
    int nYear = -1;
    int nMonth = -1;
    int nDay = -1;
    int nHour = -1;
    int nMinute = -1;
};
BOOL ParseTimestamp(const CString& strText, tagTIMESTAMP& timestamp);

} // namespace Tags::ID3v2Tag
