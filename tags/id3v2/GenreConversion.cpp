#include "tags/id3v2/GenreConversion.h"

#include "base/LeadingInteger.h"
#include "tags/id3v1/ID3v1Genres.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <algorithm>

namespace Tags::ID3v2Tag
{

namespace
{

// Matches "(%d)%s" as the C library's scanf does: "(" at the very start, white space before the
// number and before the word skipped, an optional sign. FALSE when there is no "(" and number.
bool MatchGenreReference(const CString& strValue, long long& nNumber, CString& strRefinement)
{
    const int nLength = strValue.GetLength();
    if (nLength == 0 || strValue[0] != u'(')
    {
        return false;
    }
    // A huge number is just "another number": the reading holds it at its limit.
    LONGLONG nValue = 0;
    int nEnd = 0;
    if (!ParseLeadingInteger(std::u16string_view(strValue).substr(1), nValue, &nEnd))
    {
        return false;
    }
    nNumber = nValue;
    int i = 1 + nEnd;

    strRefinement.Empty();
    if (i >= nLength || strValue[i] != u')')
    {
        return true;
    }
    ++i;
    while (i < nLength && IsWideSpace(strValue[i]))
    {
        ++i;
    }
    const int nStart = i;
    while (i < nLength && !IsWideSpace(strValue[i]))
    {
        ++i;
    }
    strRefinement = strValue.Mid(nStart, std::min(i - nStart, GENRE_REFINEMENT_MAX));
    return true;
}

} // namespace

std::vector<CString> ConvertGenres(const std::vector<CString>& values)
{
    std::vector<CString> converted;
    converted.reserve(values.size());
    for (const CString& strValue : values)
    {
        long long nNumber = 0;
        CString strRefinement;
        if (!MatchGenreReference(strValue, nNumber, strRefinement))
        {
            converted.push_back(strValue);
            continue;
        }
        if (nNumber >= 0 && nNumber < ID3v1Tag::ID3v1GenreCount)
        {
            converted.push_back(CString(ID3v1Tag::ID3v1Genres[nNumber]));
        }
        else if (nNumber >= ID3v1Tag::ID3v1GenreCount && nNumber <= 255)
        {
            converted.push_back(CString());
        }
        if (!strRefinement.IsEmpty())
        {
            converted.push_back(strRefinement);
        }
    }
    return converted;
}

void ConvertGenres(CTextFrame& frame)
{
    frame.SetValues(ConvertGenres(frame.m_values));
}

} // namespace Tags::ID3v2Tag
