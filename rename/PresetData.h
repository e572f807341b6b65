// The rename preset: a pattern of literal text and tokens plus the counter settings. Its bytes are
// also its stored form ("AutoRenamePresets" holds an unbroken array of them), so the layout is
// fixed: 532 bytes, little-endian, whatever the host's byte order.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Units of the pattern field, terminator included: at most 256 characters.
inline constexpr int PRESET_FORMAT_SIZE = 257;
inline constexpr int PRESET_FORMAT_MAX = PRESET_FORMAT_SIZE - 1;
// Bytes of one stored record.
inline constexpr UINT PRESETDATA_SIZE = 532;

// Value ranges of the counter settings.
inline constexpr int PRESET_COUNTER_START_MIN = 0;
inline constexpr int PRESET_COUNTER_START_MAX = 65535;
inline constexpr int PRESET_COUNTER_STEP_MIN = 1;
inline constexpr int PRESET_COUNTER_STEP_MAX = 255;
inline constexpr int PRESET_LEADING_ZEROS_MIN = 1;
inline constexpr int PRESET_LEADING_ZEROS_MAX = 5;

// The members carry the values every new preset starts with (start 0, step 1, three digits,
// restart in each folder), the initial values of the auto-rename dialog.
struct tagPRESETDATA
{
    char16_t szFormat[PRESET_FORMAT_SIZE] = {}; // offset 0, zero-terminated
    WORD wPadding = 0;                          // offset 514, not significant
    std::int32_t nCounterStart = 0;             // offset 516
    std::int32_t nCounterStep = 1;              // offset 520
    std::int32_t nLeadingZeros = 3;             // offset 524, 1 means no padding
    BOOL bResetPerFolder = TRUE;                // offset 528, any value
};

static_assert(sizeof(BOOL) == 4, "the reset flag is stored in 32 bits");
static_assert(sizeof(tagPRESETDATA) == PRESETDATA_SIZE, "a preset is stored as 532 bytes");
static_assert(offsetof(tagPRESETDATA, wPadding) == 514);
static_assert(offsetof(tagPRESETDATA, nCounterStart) == 516);
static_assert(offsetof(tagPRESETDATA, nCounterStep) == 520);
static_assert(offsetof(tagPRESETDATA, nLeadingZeros) == 524);
static_assert(offsetof(tagPRESETDATA, bResetPerFolder) == 528);

// The pattern: the units before the first zero, or the whole field when it holds none.
CString GetPresetFormat(const tagPRESETDATA& preset);
// Copies at most 256 units into the field and zeroes the rest; a pair of surrogates that does
// not fit whole is left out whole.
void SetPresetFormat(tagPRESETDATA& preset, const CString& strFormat);
// A preset with the given pattern and counter settings.
tagPRESETDATA MakePreset(const CString& strFormat, int nCounterStart = 0, int nCounterStep = 1,
                         int nLeadingZeros = 3, BOOL bResetPerFolder = TRUE);

// The stored form: writes exactly PRESETDATA_SIZE bytes (the padding as zeros).
void WritePresetBytes(const tagPRESETDATA& preset, BYTE* pBytes);
// Reads PRESETDATA_SIZE bytes; the padding is ignored (read as zero).
tagPRESETDATA ReadPresetBytes(const BYTE* pBytes);

// The counter settings are in range and the pattern holds only known tokens and no character
// that a file name refuses. A pattern field without its terminator is refused as well.
BOOL IsValidPreset(const tagPRESETDATA& preset);

// Walks a pattern: onText(ch) for each character outside a token, onToken(token) for each
// "<...>" token with its brackets; either returns false to stop the walk. FALSE on a "<" inside
// a token, a ">" outside one, or a stop; a token still open at the end is dropped unreported.
template <class FText, class FToken>
BOOL ScanPresetFormat(std::u16string_view format, FText onText, FToken onToken)
{
    size_t nTokenStart = std::u16string_view::npos;
    for (size_t i = 0; i < format.size(); ++i)
    {
        const char16_t ch = format[i];
        if (ch == u'<')
        {
            if (nTokenStart != std::u16string_view::npos)
                return FALSE;
            nTokenStart = i;
        }
        else if (ch == u'>')
        {
            if (nTokenStart == std::u16string_view::npos)
                return FALSE;
            if (!onToken(format.substr(nTokenStart, i - nTokenStart + 1)))
                return FALSE;
            nTokenStart = std::u16string_view::npos;
        }
        else if (nTokenStart == std::u16string_view::npos && !onText(ch))
        {
            return FALSE;
        }
    }
    return TRUE;
}
