#include "rename/PatternInput.h"

#include "res/StringTable.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace
{

constexpr tagRENAMETOKEN TOKENS[] = {
    {32912, u"<counter>"}, {32913, u"<filename>"}, {0, nullptr},
    {32914, u"<title>"},   {32915, u"<album>"},    {32916, u"<artist>"},
    {32917, u"<track>"},   {32918, u"<year>"},     {32922, u"<genre>"},
};

struct tagRANGE
{
    int nMin;
    int nMax;
};

constexpr tagRANGE RANGES[COUNTER_FIELDS] = {
    {PRESET_COUNTER_START_MIN, PRESET_COUNTER_START_MAX},
    {PRESET_COUNTER_STEP_MIN, PRESET_COUNTER_STEP_MAX},
    {PRESET_LEADING_ZEROS_MIN, PRESET_LEADING_ZEROS_MAX},
};

bool IsBlank(char16_t ch)
{
    return ch == u' ' || ch == u'\t';
}

// An optional sign and decimal digits with blanks around them, as a bound integer field takes
// it; a value beyond 32 bits becomes the nearest 32-bit value. FALSE for anything else.
BOOL ParseInteger(const CString& strText, int& nValue)
{
    const std::u16string_view text = strText.str();
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        bNegative = text[i++] == u'-';
    const size_t nDigits = i;
    std::int64_t nResult = 0;
    constexpr std::int64_t nLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        nResult = std::min(nResult * 10 + (text[i] - u'0'), nLimit);
    if (i == nDigits)
        return FALSE;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return FALSE;
    if (bNegative)
        nResult = -nResult;
    nValue = static_cast<int>(std::clamp<std::int64_t>(nResult, std::numeric_limits<int>::min(),
                                                       std::numeric_limits<int>::max()));
    return TRUE;
}

int& FieldOf(tagCOUNTERVALUES& values, int nField)
{
    switch (nField)
    {
    case COUNTER_START:
        return values.nCounterStart;
    case COUNTER_STEP:
        return values.nCounterStep;
    default:
        return values.nLeadingZeros;
    }
}

} // namespace

std::span<const tagRENAMETOKEN> GetRenameTokens()
{
    return TOKENS;
}

const char16_t* FindRenameToken(UINT nID)
{
    for (const tagRENAMETOKEN& token : TOKENS)
    {
        if (token.nID != 0 && token.nID == nID)
            return token.pszText;
    }
    return nullptr;
}

CString InsertToken(const CString& strText, int nSelStart, int nSelEnd, const CString& strToken,
                    int* pnCaret)
{
    const int nLength = strText.GetLength();
    nSelStart = std::clamp(nSelStart, 0, nLength);
    nSelEnd = std::clamp(nSelEnd, 0, nLength);
    if (nSelEnd < nSelStart)
        std::swap(nSelStart, nSelEnd);
    if (pnCaret)
        *pnCaret = nSelStart + strToken.GetLength();
    return strText.Left(nSelStart) + strToken + strText.Mid(nSelEnd);
}

tagCOUNTERREAD ReadCounterValues(const CString (&arrTexts)[COUNTER_FIELDS], BOOL bResetPerFolder,
                                 tagCOUNTERVALUES& values)
{
    tagCOUNTERREAD result;
    for (int nField = 0; nField < COUNTER_FIELDS; ++nField)
    {
        int nValue = 0;
        if (!ParseInteger(arrTexts[nField], nValue))
        {
            result.nFailedField = nField;
            result.strMessage = Res::LoadResourceString(Res::IDS_ENTER_INTEGER);
            return result;
        }
        FieldOf(values, nField) = nValue;
        const tagRANGE& range = RANGES[nField];
        if (nValue < range.nMin || nValue > range.nMax)
        {
            CString strMin;
            CString strMax;
            strMin.Format(u"%d", range.nMin);
            strMax.Format(u"%d", range.nMax);
            result.nFailedField = nField;
            result.strMessage =
                Res::FormatResourceString(Res::IDS_ENTER_INTEGER_RANGE, strMin, strMax);
            return result;
        }
    }
    values.bResetPerFolder = bResetPerFolder;
    return result;
}

EPatternCheck CheckPattern(const CString& strPattern, const tagCOUNTERVALUES& values,
                           tagPRESETDATA* pPreset)
{
    CString strTrimmed = strPattern;
    strTrimmed.Trim();
    if (strTrimmed.GetLength() > PRESET_FORMAT_MAX)
        return EPatternCheck::TooLong;
    const tagPRESETDATA preset = MakePreset(strTrimmed, values.nCounterStart, values.nCounterStep,
                                            values.nLeadingZeros, values.bResetPerFolder);
    if (pPreset)
        *pPreset = preset;
    return IsValidPreset(preset) ? EPatternCheck::Valid : EPatternCheck::Invalid;
}
