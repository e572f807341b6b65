// The "AutoRenamePresets" value over arbitrary bytes: every whole 532-byte record decoded and
// checked as at start-up. A value that loads is stored again as the same records.
#include "FuzzInput.h"

#include "base/ProfileStore.h"
#include "rename/AutoRenamePreset.h"
#include "rename/PresetData.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize > 64 * PRESETDATA_SIZE)
        return -1;
    CMemoryProfileStore store;
    store.WriteProfileBinary(CAutoRenamePreset::SECTION, CAutoRenamePreset::ENTRY, pData,
                             static_cast<UINT>(nSize));
    CAutoRenamePreset presets;
    const BOOL bLoaded = presets.LoadFromRegistry(store);

    // The records one by one, as the store sees them.
    const size_t nRecords = nSize / PRESETDATA_SIZE;
    bool bAllValid = true;
    for (size_t i = 0; i < nRecords; ++i)
    {
        const tagPRESETDATA preset = ReadPresetBytes(pData + i * PRESETDATA_SIZE);
        const BOOL bValid = IsValidPreset(preset);
        bAllValid = bAllValid && bValid;
        const CString strFormat = GetPresetFormat(preset);
        Fuzz::Check(strFormat.GetLength() <= PRESET_FORMAT_SIZE, "a pattern fits its field");
        if (!bValid)
            continue;
        Fuzz::Check(strFormat.GetLength() <= PRESET_FORMAT_MAX, "a valid pattern is terminated");
        // Written and read again, a valid record is the same record.
        BYTE bytes[PRESETDATA_SIZE];
        WritePresetBytes(preset, bytes);
        const tagPRESETDATA again = ReadPresetBytes(bytes);
        Fuzz::Check(IsValidPreset(again) != FALSE, "a written valid record stays valid");
        Fuzz::Check(GetPresetFormat(again) == strFormat, "the pattern stays");
        tagPRESETDATA copy;
        SetPresetFormat(copy, strFormat);
        Fuzz::Check(GetPresetFormat(copy) == strFormat, "a valid pattern is set whole");
    }
    Fuzz::Check((bLoaded != FALSE) == bAllValid,
                "the value loads exactly when every record is valid");
    Fuzz::Check(bLoaded || presets.GetCount() == 0, "a refused value leaves no preset");
    if (!bLoaded)
        return 0;
    Fuzz::Check(presets.GetCount() == static_cast<int>(nRecords), "one preset per record");
    Fuzz::Check(presets.BuildMenu().size() == nRecords, "one menu entry per preset");

    CMemoryProfileStore saved;
    Fuzz::Check(presets.SaveToRegistry(saved) != FALSE, "the presets are stored");
    std::vector<BYTE> data;
    Fuzz::Check(
        saved.GetProfileBinary(CAutoRenamePreset::SECTION, CAutoRenamePreset::ENTRY, data) != FALSE,
        "the stored value is there");
    Fuzz::Check(data.size() == nRecords * PRESETDATA_SIZE, "whole records only");
    for (size_t i = 0; i < nRecords; ++i)
    {
        // Everything but the padding word comes back as it was.
        const BYTE* pIn = pData + i * PRESETDATA_SIZE;
        const BYTE* pOut = data.data() + i * PRESETDATA_SIZE;
        Fuzz::Check(std::memcmp(pIn, pOut, 514) == 0 && std::memcmp(pIn + 516, pOut + 516, 16) == 0,
                    "a stored record keeps its bytes");
    }
    return 0;
}
