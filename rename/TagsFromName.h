// "Tags from File Name": a pattern of field tokens and literal text, reaching into the folders
// above the file with "/", matched against a file's path to give the tag fields its name holds.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "rename/PatternInput.h"

#include <span>
#include <vector>

// The tokens of a pattern; NAME_SKIP matches text that is thrown away.
enum ENameToken : int
{
    NAME_TITLE,
    NAME_ALBUM,
    NAME_ARTIST,
    NAME_TRACK,
    NAME_YEAR,
    NAME_GENRE,
    NAME_SKIP,
};

// The fields a name can give (every token but NAME_SKIP).
inline constexpr int NAME_FIELD_COUNT = NAME_SKIP;

// The fields a name gave, indexed by ENameToken; an empty text is a field not given. Values are
// trimmed of the blanks around them; the track stays text ("07", "7/12").
struct tagNAMEFIELDS
{
    CString arrValues[NAME_FIELD_COUNT];

    const CString& Get(ENameToken token) const { return arrValues[token]; }
};

// The token menu of the dialog, in its order (no separators).
std::span<const tagRENAMETOKEN> GetNameTokens();
// The token of a menu command, or null.
const char16_t* FindNameToken(UINT nID);

// How many recent patterns are kept.
inline constexpr int RECENT_NAME_PATTERNS_MAX = 10;

// Puts the pattern (without the blanks around it) first among the recent ones, dropping an
// equal entry further down and those beyond RECENT_NAME_PATTERNS_MAX. An empty pattern changes
// nothing.
void AddRecentNamePattern(std::vector<CString>& arrRecent, const CString& strPattern);

enum class ENamePatternCheck
{
    Valid,
    Empty,
    // A "<...>" that is not one of the tokens.
    UnknownToken,
    // No token that gives a field (only literal text and <skip>).
    NoField,
    // Two tokens with nothing between them: where one value ends is anybody's guess.
    AdjacentTokens,
    // A folder level with nothing in it ("//", or "/" at either end).
    EmptyLevel,
};

// A parsed pattern. The pattern is taken without the blanks around it; tokens are recognised
// in any letter case, literal text is matched case-sensitively.
class CNamePattern
{
public:
    explicit CNamePattern(const CString& strPattern);

    ENamePatternCheck GetCheck() const { return m_check; }
    BOOL IsValid() const { return m_check == ENamePatternCheck::Valid; }

    // Matches the path's last levels: the pattern's last level against the file name without its
    // extension (the last dot and what follows), the level before against the parent folder's
    // name, and so on. FALSE (fields emptied) for an invalid pattern, a path with fewer levels
    // than the pattern, or a level that does not match. When a field occurs more than once, the
    // occurrence nearest the file name that is not empty wins.
    BOOL Match(const CString& strPath, tagNAMEFIELDS& fields) const;

private:
    // One piece of a level: a token, or literal text when nToken is -1.
    struct tagPIECE
    {
        int nToken = -1;
        CString strText;
    };
    using Level = std::vector<tagPIECE>;

    ENamePatternCheck Parse(const CString& strPattern);
    static BOOL MatchLevel(const Level& level, const CString& strName, tagNAMEFIELDS& fields);

    std::vector<Level> m_levels;
    ENamePatternCheck m_check = ENamePatternCheck::Empty;
};
