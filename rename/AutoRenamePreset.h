// CAutoRenamePreset: the ordered store of rename presets, the order of the preset list, of the
// "Rename Presets" menu and of the stored value. Loaded and saved with the settings.
#pragma once

#include "base/ProfileStore.h"
#include "rename/PresetData.h"

#include <memory>
#include <vector>

// One entry of the preset menu: the pattern as its text and its command.
struct tagPRESETMENUENTRY
{
    UINT nID = 0;
    CString strText;
};

class CAutoRenamePreset
{
public:
    // Presets the dialog may add; a store loaded from the profile may hold more.
    static constexpr int MAX_PRESETS = 16;
    // Command of the menu entry of preset i: ID_PRESET_FIRST + i. Only ids up to ID_PRESET_LAST
    // have a handler.
    static constexpr UINT ID_PRESET_FIRST = 32934;
    static constexpr UINT ID_PRESET_LAST = 32950;

    CAutoRenamePreset() = default;
    CAutoRenamePreset(const CAutoRenamePreset&) = delete;
    CAutoRenamePreset& operator=(const CAutoRenamePreset&) = delete;
    ~CAutoRenamePreset() = default;

    // Replaces the store's presets with the value "AutoRenamePresets" of the section "Settings":
    // one record per whole 532 bytes, trailing bytes ignored. FALSE, and an empty store, when the
    // value cannot be read or any record in it is not valid; TRUE otherwise (also for a value
    // shorter than one record, which gives no presets).
    BOOL LoadFromRegistry(const IProfileStore& store);
    // Writes every preset in order as that value (an empty store as an empty value); TRUE when
    // it was written.
    BOOL SaveToRegistry(IProfileStore& store) const;

    // Appends a preset with the pattern and the counter settings start 0, step 1, three digits,
    // restart in each folder. A preset that is not valid is dropped (FALSE).
    BOOL AddPreset(const CString& strFormat);
    // Appends a copy of the record; dropped (FALSE) when it is not valid. No limit applies here:
    // the dialog asks IsFull first.
    BOOL AddPreset(const tagPRESETDATA& preset);
    // The four presets a profile without a stored value starts with.
    void AddDefaultPresets();
    void RemoveAll();
    // Removes the entry at the position; FALSE when there is none.
    BOOL RemovePreset(int nIndex);
    // Exchanges two entries (the list's Move Up and Move Down); FALSE when either is missing.
    BOOL ExchangePresets(int nIndex1, int nIndex2);

    int GetCount() const { return static_cast<int>(m_presets.size()); }
    // The entry at the position, or null.
    const tagPRESETDATA* GetPreset(int nIndex) const;
    // The dialog adds no preset beyond MAX_PRESETS.
    BOOL IsFull() const { return GetCount() >= MAX_PRESETS; }

    // The entries of the "Rename Presets" submenu, in order: the pattern as the text, command
    // ID_PRESET_FIRST + index. Empty without presets.
    std::vector<tagPRESETMENUENTRY> BuildMenu() const;

    // Where the presets are stored.
    static constexpr const char16_t* SECTION = u"Settings";
    static constexpr const char16_t* ENTRY = u"AutoRenamePresets";

private:
    std::vector<std::unique_ptr<tagPRESETDATA>> m_presets;
};
