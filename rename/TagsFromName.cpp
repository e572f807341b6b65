#include "rename/TagsFromName.h"

#include "base/Path.h"

namespace
{

// The menu's commands follow the token order, so that a command's token is its index.
constexpr UINT FIRST_TOKEN_ID = 33001;

constexpr tagRENAMETOKEN TOKENS[] = {
    {FIRST_TOKEN_ID + NAME_TITLE, u"<title>"},   {FIRST_TOKEN_ID + NAME_ALBUM, u"<album>"},
    {FIRST_TOKEN_ID + NAME_ARTIST, u"<artist>"}, {FIRST_TOKEN_ID + NAME_TRACK, u"<track>"},
    {FIRST_TOKEN_ID + NAME_YEAR, u"<year>"},     {FIRST_TOKEN_ID + NAME_GENRE, u"<genre>"},
    {FIRST_TOKEN_ID + NAME_SKIP, u"<skip>"},
};

bool IsAsciiLetter(char16_t ch)
{
    return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
}

// The token named by the text between "<" and ">", or -1.
int FindToken(const CString& strName)
{
    for (const tagRENAMETOKEN& token : TOKENS)
    {
        const CString strToken(token.pszText);
        if (strToken.Mid(1, strToken.GetLength() - 2).CompareNoCase(strName) == 0)
            return static_cast<int>(token.nID - FIRST_TOKEN_ID);
    }
    return -1;
}

std::vector<CString> SplitLevels(const CString& strText)
{
    std::vector<CString> arrLevels(1);
    for (int i = 0; i < strText.GetLength(); ++i)
    {
        if (Path::IsSeparator(strText[i]))
            arrLevels.emplace_back();
        else
            arrLevels.back() += strText[i];
    }
    return arrLevels;
}

void StoreValue(int nToken, CString strValue, tagNAMEFIELDS& fields)
{
    if (nToken < 0 || nToken >= NAME_FIELD_COUNT)
        return;
    strValue.Trim();
    if (!strValue.IsEmpty())
        fields.arrValues[nToken] = strValue;
}

} // namespace

std::span<const tagRENAMETOKEN> GetNameTokens()
{
    return TOKENS;
}

const char16_t* FindNameToken(UINT nID)
{
    for (const tagRENAMETOKEN& token : TOKENS)
    {
        if (token.nID == nID)
            return token.pszText;
    }
    return nullptr;
}

void AddRecentNamePattern(std::vector<CString>& arrRecent, const CString& strPattern)
{
    CString strTrimmed = strPattern;
    strTrimmed.Trim();
    if (strTrimmed.IsEmpty())
        return;
    std::erase(arrRecent, strTrimmed);
    arrRecent.insert(arrRecent.begin(), strTrimmed);
    if (arrRecent.size() > static_cast<size_t>(RECENT_NAME_PATTERNS_MAX))
        arrRecent.resize(RECENT_NAME_PATTERNS_MAX);
}

CNamePattern::CNamePattern(const CString& strPattern)
{
    m_check = Parse(strPattern);
    if (m_check != ENamePatternCheck::Valid)
        m_levels.clear();
}

ENamePatternCheck CNamePattern::Parse(const CString& strPattern)
{
    CString strTrimmed = strPattern;
    strTrimmed.Trim();
    if (strTrimmed.IsEmpty())
        return ENamePatternCheck::Empty;
    bool bField = false;
    for (const CString& strLevel : SplitLevels(strTrimmed))
    {
        if (strLevel.IsEmpty())
            return ENamePatternCheck::EmptyLevel;
        Level& level = m_levels.emplace_back();
        int i = 0;
        while (i < strLevel.GetLength())
        {
            // "<" followed by letters and ">" is a token; any other "<" is literal text.
            int nEnd = i + 1;
            while (strLevel[i] == u'<' && nEnd < strLevel.GetLength() &&
                   IsAsciiLetter(strLevel[nEnd]))
                ++nEnd;
            if (strLevel[i] == u'<' && nEnd > i + 1 && nEnd < strLevel.GetLength() &&
                strLevel[nEnd] == u'>')
            {
                const int nToken = FindToken(strLevel.Mid(i + 1, nEnd - i - 1));
                if (nToken < 0)
                    return ENamePatternCheck::UnknownToken;
                if (!level.empty() && level.back().nToken >= 0)
                    return ENamePatternCheck::AdjacentTokens;
                bField = bField || nToken != NAME_SKIP;
                level.push_back({nToken, CString()});
                i = nEnd + 1;
                continue;
            }
            if (level.empty() || level.back().nToken >= 0)
                level.push_back({});
            level.back().strText += strLevel[i];
            ++i;
        }
    }
    return bField ? ENamePatternCheck::Valid : ENamePatternCheck::NoField;
}

BOOL CNamePattern::MatchLevel(const Level& level, const CString& strName, tagNAMEFIELDS& fields)
{
    int nPos = 0;
    for (size_t n = 0; n < level.size(); ++n)
    {
        const tagPIECE& piece = level[n];
        const bool bLast = n + 1 == level.size();
        if (piece.nToken < 0)
        {
            // Literal text on its own: at the start (n == 0), at the end when last.
            if (strName.Mid(nPos, piece.strText.GetLength()) != piece.strText)
                return FALSE;
            nPos += piece.strText.GetLength();
            if (bLast && nPos != strName.GetLength())
                return FALSE;
            continue;
        }
        if (bLast)
        {
            StoreValue(piece.nToken, strName.Mid(nPos), fields);
            return TRUE;
        }
        // The literal after the token ends its value: at the end of the name when it is the
        // level's last piece, else at its first occurrence from the token's start.
        const CString& strNext = level[n + 1].strText;
        int nFound = -1;
        if (n + 2 == level.size())
        {
            nFound = strName.GetLength() - strNext.GetLength();
            if (nFound < nPos || strName.Mid(nFound) != strNext)
                return FALSE;
        }
        else
        {
            nFound = strName.Find(strNext, nPos);
            if (nFound < 0)
                return FALSE;
        }
        StoreValue(piece.nToken, strName.Mid(nPos, nFound - nPos), fields);
        nPos = nFound + strNext.GetLength();
        ++n;
        if (n + 1 == level.size())
            return TRUE;
    }
    return nPos == strName.GetLength();
}

BOOL CNamePattern::Match(const CString& strPath, tagNAMEFIELDS& fields) const
{
    fields = tagNAMEFIELDS();
    if (!IsValid())
        return FALSE;
    std::vector<CString> arrNames = SplitLevels(strPath);
    CString& strFile = arrNames.back();
    const int nDot = strFile.ReverseFind(u'.');
    if (nDot >= 0)
        strFile.Truncate(nDot);
    // An absolute path's empty first part is not a folder level.
    if (arrNames.size() > 1 && arrNames.front().IsEmpty())
        arrNames.erase(arrNames.begin());
    if (arrNames.size() < m_levels.size())
        return FALSE;
    // From the outermost level inwards, so that values nearer the file name win.
    const size_t nFirst = arrNames.size() - m_levels.size();
    for (size_t n = 0; n < m_levels.size(); ++n)
    {
        if (!MatchLevel(m_levels[n], arrNames[nFirst + n], fields))
        {
            fields = tagNAMEFIELDS();
            return FALSE;
        }
    }
    return TRUE;
}
