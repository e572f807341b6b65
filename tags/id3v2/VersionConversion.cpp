#include "tags/id3v2/VersionConversion.h"

#include "tags/id3v2/frames/TextFrame.h"

#include <cstring>

namespace Tags::ID3v2Tag
{

namespace
{

struct tagUSERTEXTROW
{
    const char* szID;
    const char16_t* pszDescription;
};

// 2.4 frames that 2.3 does not define and keeps as TXXX frames.
constexpr tagUSERTEXTROW kUserTextV23[] = {
    {"TDEN", u"Encoding Time"},        {"TDRL", u"Release Time"},
    {"TDTG", u"Tagging Time"},         {"TMOO", u"Mood"},
    {"TPRO", u"Produced Notice"},      {"TSOA", u"Album Sort Order"},
    {"TSOP", u"Performer Sort Order"}, {"TSOT", u"Title Sort Order"},
    {"TSST", u"Set Subtitle"},
};

bool Is(const CFrame& frame, const char* szID)
{
    return std::strcmp(frame.GetID(), szID) == 0;
}

// Raw frames (compressed, encrypted, grouped) cannot be read or changed and stay as they are.
CTextFrame* AsText(const std::unique_ptr<CFrame>& pFrame)
{
    return dynamic_cast<CTextFrame*>(pFrame.get());
}

CString FirstValue(const CTextFrame& frame)
{
    return frame.m_values.empty() ? CString() : frame.m_values.front();
}

void SetFirstValue(CTextFrame& frame, const CString& strValue)
{
    if (frame.m_values.empty())
    {
        frame.m_values.push_back(strValue);
    }
    else
    {
        frame.m_values.front() = strValue;
    }
}

// The frame's body becomes a TXXX body: the description, then the old values. The object stays
// the text frame it was.
void MakeUserText(CTextFrame& frame, const char16_t* pszDescription)
{
    frame.SetID("TXXX");
    frame.m_values.insert(frame.m_values.begin(), CString(pszDescription));
}

bool IsDigit(char16_t ch)
{
    return ch >= u'0' && ch <= u'9';
}

// The value of the two digits at nPos, or -1.
int TwoDigits(const CString& strText, int nPos)
{
    if (nPos + 2 > strText.GetLength() || !IsDigit(strText[nPos]) || !IsDigit(strText[nPos + 1]))
    {
        return -1;
    }
    return (strText[nPos] - u'0') * 10 + (strText[nPos + 1] - u'0');
}

int InRange(int nValue, int nLow, int nHigh)
{
    return nValue >= nLow && nValue <= nHigh ? nValue : -1;
}

bool IsFourDigits(const CString& strText)
{
    return strText.GetLength() == 4 && TwoDigits(strText, 0) >= 0 && TwoDigits(strText, 2) >= 0;
}

// The year of a time stamp, or the whole text when it does not begin with one.
CString YearOf(const CString& strText)
{
    tagTIMESTAMP timestamp;
    return ParseTimestamp(strText, timestamp) ? strText.Left(4) : strText;
}

CString TwoDigitText(int nValue)
{
    return FormatString(CString(u"%02d"), nValue);
}

// A TDAT "DDMM" or TIME "HHMM" text as its two numbers, when it is a single valid value.
bool ParsePair(const CTextFrame* pFrame, int nFirstLow, int nFirstHigh, int nSecondLow,
               int nSecondHigh, int& nFirst, int& nSecond)
{
    if (pFrame == nullptr || pFrame->m_values.size() != 1 || !IsFourDigits(pFrame->m_values[0]))
    {
        return false;
    }
    nFirst = InRange(TwoDigits(pFrame->m_values[0], 0), nFirstLow, nFirstHigh);
    nSecond = InRange(TwoDigits(pFrame->m_values[0], 2), nSecondLow, nSecondHigh);
    return nFirst >= 0 && nSecond >= 0;
}

std::unique_ptr<CTextFrame> NewTextFrame(const char* szID, const CTextFrame& like,
                                         const CString& strValue)
{
    auto pFrame = std::make_unique<CTextFrame>(szID, 3);
    pFrame->m_nEncoding = like.m_nEncoding;
    pFrame->m_values.push_back(strValue);
    return pFrame;
}

void SetVersion(CFrameList& frames, int nVersion)
{
    for (const std::unique_ptr<CFrame>& pFrame : frames)
    {
        pFrame->m_pHeader->m_nVersion = nVersion;
    }
}

} // namespace

BOOL ParseTimestamp(const CString& strText, tagTIMESTAMP& timestamp)
{
    timestamp = tagTIMESTAMP();
    const int nHigh = TwoDigits(strText, 0);
    const int nLow = TwoDigits(strText, 2);
    if (nHigh < 0 || nLow < 0)
    {
        return FALSE;
    }
    timestamp.nYear = nHigh * 100 + nLow;
    // Each part needs its separator and the parts before it.
    auto part = [&strText](int nPos, char16_t chSeparator, int nLowest, int nHighest)
    {
        if (nPos + 3 > strText.GetLength())
        {
            return -1;
        }
        const char16_t ch = strText[nPos];
        // ID3v2.4 asks for "T" before the time; some writers put a space.
        const bool bSeparator = ch == chSeparator || (chSeparator == u'T' && ch == u' ');
        return bSeparator ? InRange(TwoDigits(strText, nPos + 1), nLowest, nHighest) : -1;
    };
    timestamp.nMonth = part(4, u'-', 1, 12);
    if (timestamp.nMonth < 0)
    {
        return TRUE;
    }
    timestamp.nDay = part(7, u'-', 1, 31);
    if (timestamp.nDay < 0)
    {
        return TRUE;
    }
    timestamp.nHour = part(10, u'T', 0, 23);
    if (timestamp.nHour < 0)
    {
        return TRUE;
    }
    timestamp.nMinute = part(13, u':', 0, 59);
    return TRUE;
}

void ConvertFramesToV23(CFrameList& frames)
{
    bool bDateFrames = false;
    for (const std::unique_ptr<CFrame>& pFrame : frames)
    {
        bDateFrames =
            bDateFrames || Is(*pFrame, "TYER") || Is(*pFrame, "TDAT") || Is(*pFrame, "TIME");
    }
    bool bYearMade = false;

    for (auto it = frames.begin(); it != frames.end(); ++it)
    {
        CTextFrame* pText = AsText(*it);
        if (pText == nullptr || pText->GetID()[0] != 'T')
        {
            continue;
        }
        CTextFrame& frame = *pText;
        if (Is(frame, "TDOR"))
        {
            frame.SetID("TORY");
            if (!frame.m_values.empty())
            {
                SetFirstValue(frame, YearOf(FirstValue(frame)));
            }
        }
        else if (Is(frame, "TDRC"))
        {
            if (bDateFrames || bYearMade)
            {
                frame.SetID("TRDA");
                continue;
            }
            bYearMade = true;
            tagTIMESTAMP timestamp;
            const CString strText = FirstValue(frame);
            frame.SetID("TYER");
            if (!ParseTimestamp(strText, timestamp))
            {
                continue;
            }
            SetFirstValue(frame, strText.Left(4));
            if (timestamp.nDay < 0)
            {
                continue;
            }
            const CString strDate = TwoDigitText(timestamp.nDay) + TwoDigitText(timestamp.nMonth);
            it = frames.insert(std::next(it), NewTextFrame("TDAT", frame, strDate));
            if (timestamp.nMinute >= 0)
            {
                const CString strTime =
                    TwoDigitText(timestamp.nHour) + TwoDigitText(timestamp.nMinute);
                it = frames.insert(std::next(it), NewTextFrame("TIME", frame, strTime));
            }
        }
        else if (Is(frame, "TIPL") || Is(frame, "TMCL"))
        {
            frame.SetID("IPLS");
        }
        else
        {
            for (const tagUSERTEXTROW& row : kUserTextV23)
            {
                if (Is(frame, row.szID))
                {
                    MakeUserText(frame, row.pszDescription);
                    break;
                }
            }
        }
    }
    SetVersion(frames, 3);
}

void ConvertFramesToV24(CFrameList& frames)
{
    CTextFrame* pYear = nullptr;
    CTextFrame* pDate = nullptr;
    CTextFrame* pTime = nullptr;
    bool bHeldTDRC = false;
    for (const std::unique_ptr<CFrame>& pFrame : frames)
    {
        CTextFrame* pText = AsText(pFrame);
        if (pText == nullptr)
        {
            continue;
        }
        if (pYear == nullptr && Is(*pText, "TYER"))
        {
            pYear = pText;
        }
        else if (pDate == nullptr && Is(*pText, "TDAT"))
        {
            pDate = pText;
        }
        else if (pTime == nullptr && Is(*pText, "TIME"))
        {
            pTime = pText;
        }
        else if (Is(*pText, "TDRC"))
        {
            bHeldTDRC = true;
        }
    }

    // The time stamp the first TYER becomes, and the TDAT and TIME that go into it.
    CString strStamp;
    bool bDateUsed = false;
    bool bTimeUsed = false;
    if (pYear != nullptr)
    {
        strStamp = FirstValue(*pYear);
        int nDay = 0;
        int nMonth = 0;
        if (IsFourDigits(strStamp) && ParsePair(pDate, 1, 31, 1, 12, nDay, nMonth))
        {
            bDateUsed = true;
            strStamp += u'-' + TwoDigitText(nMonth) + u'-' + TwoDigitText(nDay);
            int nHour = 0;
            int nMinute = 0;
            if (ParsePair(pTime, 0, 23, 0, 59, nHour, nMinute))
            {
                bTimeUsed = true;
                strStamp += u'T' + TwoDigitText(nHour) + u':' + TwoDigitText(nMinute);
            }
        }
    }

    bool bTDRCKept = false;
    bool bTRDAMade = false;
    for (auto it = frames.begin(); it != frames.end();)
    {
        CTextFrame* pText = AsText(*it);
        if (pText == nullptr)
        {
            ++it;
            continue;
        }
        CTextFrame& frame = *pText;
        if (Is(frame, "TYER"))
        {
            if (pText == pYear)
            {
                frame.SetID("TDRC");
                SetFirstValue(frame, strStamp);
            }
            else
            {
                MakeUserText(frame, u"YEAR");
            }
        }
        else if (Is(frame, "TDAT"))
        {
            if (pText == pDate && bDateUsed)
            {
                it = frames.erase(it);
                continue;
            }
            MakeUserText(frame, u"DATE");
        }
        else if (Is(frame, "TIME"))
        {
            if (pText == pTime && bTimeUsed)
            {
                it = frames.erase(it);
                continue;
            }
            MakeUserText(frame, u"TIME");
        }
        else if (Is(frame, "TDRC"))
        {
            if (pYear != nullptr || bTDRCKept)
            {
                MakeUserText(frame, u"TDRC");
            }
            bTDRCKept = true;
        }
        else if (Is(frame, "TRDA"))
        {
            if (pYear != nullptr || bHeldTDRC || bTRDAMade)
            {
                MakeUserText(frame, u"TRDA");
            }
            else
            {
                frame.SetID("TDRC");
                bTRDAMade = true;
            }
        }
        else if (Is(frame, "TORY"))
        {
            frame.SetID("TDOR");
        }
        else if (Is(frame, "TSIZ"))
        {
            MakeUserText(frame, u"AUDIOFILE SIZE");
        }
        else if (Is(frame, "IPLS"))
        {
            frame.SetID("TIPL");
        }
        ++it;
    }
    SetVersion(frames, 4);
}

} // namespace Tags::ID3v2Tag
