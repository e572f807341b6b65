// What the auto-rename dialog does with its input before a preset exists: the tokens its menu
// offers and how one is put into the pattern, the counter fields read as the dialog framework
// reads bound integer fields, and the pattern turned into a preset and checked.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "rename/PresetData.h"

#include <span>

// One entry of the token menu: the token's text and its command.
struct tagRENAMETOKEN
{
    UINT nID = 0; // 0 for a separator
    const char16_t* pszText = nullptr;
};

// The token menu in its order, separator included.
std::span<const tagRENAMETOKEN> GetRenameTokens();
// The token of a menu command, or null.
const char16_t* FindRenameToken(UINT nID);

// The text with the selection [nSelStart, nSelEnd) replaced by the token (or the token inserted
// at the caret when both are equal); *pnCaret receives the position right after the token.
// Positions outside the text are brought into it.
CString InsertToken(const CString& strText, int nSelStart, int nSelEnd, const CString& strToken,
                    int* pnCaret = nullptr);

// The counter settings as the dialog holds them.
struct tagCOUNTERVALUES
{
    int nCounterStart = 0;
    int nCounterStep = 1;
    int nLeadingZeros = 3;
    BOOL bResetPerFolder = TRUE;
};

// The counter fields in their reading order.
enum ECounterField
{
    COUNTER_START,
    COUNTER_STEP,
    COUNTER_LEADING_ZEROS,
    COUNTER_FIELDS
};

// The outcome of reading the counter fields.
struct tagCOUNTERREAD
{
    // The first field that stopped the reading, or -1 when all were read.
    int nFailedField = -1;
    // The message to show for it ("Enter an integer." or the range message); empty when none.
    CString strMessage;
};

// Reads the three field texts, then the reset flag, into the values in the order start, step,
// leading zeros, reset. A text that is not an integer (blanks around it allowed) stops the
// reading with "Enter an integer." and is not stored; an integer out of its field's range is
// stored (beyond 32 bits as the nearest 32-bit value) and then stops the reading with the range
// message. Values after the field that stopped keep their previous contents.
tagCOUNTERREAD ReadCounterValues(const CString (&arrTexts)[COUNTER_FIELDS], BOOL bResetPerFolder,
                                 tagCOUNTERVALUES& values);

// How a pattern and counter values fare as a preset.
enum class EPatternCheck
{
    Valid,
    // More characters than a preset holds (token insertion can get there); never cut.
    TooLong,
    // Not a valid preset: unknown tokens, unpaired brackets, characters names refuse or a counter
    // value out of range.
    Invalid,
};

// The preset of the trimmed pattern and the values in *pPreset, and whether it may be used.
EPatternCheck CheckPattern(const CString& strPattern, const tagCOUNTERVALUES& values,
                           tagPRESETDATA* pPreset);
