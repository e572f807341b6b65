#include "rename/PresetData.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace
{

// The tokens a pattern may hold, exactly as written (case included).
constexpr std::array<std::u16string_view, 8> TOKENS = {u"<counter>", u"<filename>", u"<title>",
                                                       u"<album>",   u"<artist>",   u"<track>",
                                                       u"<year>",    u"<genre>"};

// Characters a file name refuses, outside tokens.
constexpr std::u16string_view ILLEGAL_CHARS = u"\\/:*?\"|";

void PutWord(BYTE* p, WORD w)
{
    p[0] = static_cast<BYTE>(w & 0xFF);
    p[1] = static_cast<BYTE>(w >> 8);
}

void PutInt(BYTE* p, std::int32_t n)
{
    const auto u = static_cast<std::uint32_t>(n);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<BYTE>((u >> (8 * i)) & 0xFF);
}

WORD GetWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

std::int32_t GetInt(const BYTE* p)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

int FormatLength(const tagPRESETDATA& preset)
{
    const auto* pEnd = std::find(preset.szFormat, preset.szFormat + PRESET_FORMAT_SIZE, u'\0');
    return static_cast<int>(pEnd - preset.szFormat);
}

} // namespace

CString GetPresetFormat(const tagPRESETDATA& preset)
{
    return CString(preset.szFormat, FormatLength(preset));
}

void SetPresetFormat(tagPRESETDATA& preset, const CString& strFormat)
{
    int n = std::min(strFormat.GetLength(), PRESET_FORMAT_MAX);
    // Never keep the first half of a pair whose second half is cut off.
    if (n < strFormat.GetLength() && n > 0 && strFormat[n - 1] >= 0xD800 &&
        strFormat[n - 1] <= 0xDBFF)
        --n;
    std::fill(std::begin(preset.szFormat), std::end(preset.szFormat), u'\0');
    std::copy_n(strFormat.GetString(), n, preset.szFormat);
}

tagPRESETDATA MakePreset(const CString& strFormat, int nCounterStart, int nCounterStep,
                         int nLeadingZeros, BOOL bResetPerFolder)
{
    tagPRESETDATA preset;
    SetPresetFormat(preset, strFormat);
    preset.nCounterStart = nCounterStart;
    preset.nCounterStep = nCounterStep;
    preset.nLeadingZeros = nLeadingZeros;
    preset.bResetPerFolder = bResetPerFolder;
    return preset;
}

void WritePresetBytes(const tagPRESETDATA& preset, BYTE* pBytes)
{
    for (int i = 0; i < PRESET_FORMAT_SIZE; ++i)
        PutWord(pBytes + 2 * i, static_cast<WORD>(preset.szFormat[i]));
    PutWord(pBytes + 514, 0);
    PutInt(pBytes + 516, preset.nCounterStart);
    PutInt(pBytes + 520, preset.nCounterStep);
    PutInt(pBytes + 524, preset.nLeadingZeros);
    PutInt(pBytes + 528, static_cast<std::int32_t>(preset.bResetPerFolder));
}

tagPRESETDATA ReadPresetBytes(const BYTE* pBytes)
{
    tagPRESETDATA preset;
    for (int i = 0; i < PRESET_FORMAT_SIZE; ++i)
        preset.szFormat[i] = static_cast<char16_t>(GetWord(pBytes + 2 * i));
    preset.wPadding = 0;
    preset.nCounterStart = GetInt(pBytes + 516);
    preset.nCounterStep = GetInt(pBytes + 520);
    preset.nLeadingZeros = GetInt(pBytes + 524);
    preset.bResetPerFolder = static_cast<BOOL>(GetInt(pBytes + 528));
    return preset;
}

BOOL IsValidPreset(const tagPRESETDATA& preset)
{
    if (preset.nCounterStart < PRESET_COUNTER_START_MIN ||
        preset.nCounterStart > PRESET_COUNTER_START_MAX ||
        preset.nCounterStep < PRESET_COUNTER_STEP_MIN ||
        preset.nCounterStep > PRESET_COUNTER_STEP_MAX ||
        preset.nLeadingZeros < PRESET_LEADING_ZEROS_MIN ||
        preset.nLeadingZeros > PRESET_LEADING_ZEROS_MAX)
        return FALSE;

    // A stored record whose pattern runs to the end of its field has lost its terminator.
    const int nLength = FormatLength(preset);
    if (nLength >= PRESET_FORMAT_SIZE)
        return FALSE;

    const std::u16string_view format(preset.szFormat, static_cast<size_t>(nLength));
    const BOOL bValid = ScanPresetFormat(
        format, [](char16_t ch) { return ILLEGAL_CHARS.find(ch) == std::u16string_view::npos; },
        [](std::u16string_view token)
        { return std::find(TOKENS.begin(), TOKENS.end(), token) != TOKENS.end(); });
    // A token still open at the end is accepted: FormatName drops the rest of the pattern.
    return bValid;
}
