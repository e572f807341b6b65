#include "base/LeadingInteger.h"

#include "base/String.h"

#include <limits>

BOOL ParseLeadingInteger(std::u16string_view text, LONGLONG& nValue, int* pnEnd)
{
    constexpr LONGLONG nMax = std::numeric_limits<LONGLONG>::max();
    nValue = 0;
    if (pnEnd)
        *pnEnd = 0;
    size_t i = 0;
    while (i < text.size() && IsWideSpace(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
    {
        bNegative = text[i] == u'-';
        ++i;
    }
    const size_t nFirstDigit = i;
    LONGLONG nMagnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    {
        const int nDigit = text[i] - u'0';
        nMagnitude = nMagnitude > (nMax - nDigit) / 10 ? nMax : nMagnitude * 10 + nDigit;
    }
    if (i == nFirstDigit)
        return FALSE;
    nValue = bNegative ? -nMagnitude : nMagnitude;
    if (pnEnd)
        *pnEnd = static_cast<int>(i);
    return TRUE;
}

LONGLONG GetLeadingInteger(std::u16string_view text)
{
    LONGLONG nValue = 0;
    ParseLeadingInteger(text, nValue);
    return nValue;
}
