#include "rename/AutoRenamePreset.h"

#include <limits>
#include <utility>

namespace
{

constexpr const char16_t* DEFAULT_FORMATS[] = {u"<title>", u"<counter> <title>",
                                               u"<artist>-<title>", u"<artist>-<album>-<title>"};

} // namespace

BOOL CAutoRenamePreset::LoadFromRegistry(const IProfileStore& store)
{
    RemoveAll();
    std::vector<BYTE> data;
    if (!store.GetProfileBinary(SECTION, ENTRY, data))
        return FALSE;

    // Whole records only; bytes after the last one are ignored.
    const size_t nCount = data.size() / PRESETDATA_SIZE;
    m_presets.reserve(nCount);
    for (size_t i = 0; i < nCount; ++i)
    {
        auto pPreset =
            std::make_unique<tagPRESETDATA>(ReadPresetBytes(data.data() + i * PRESETDATA_SIZE));
        if (!IsValidPreset(*pPreset))
        {
            // One bad record discards the whole list; the caller falls back to the defaults.
            RemoveAll();
            return FALSE;
        }
        m_presets.push_back(std::move(pPreset));
    }
    return TRUE;
}

BOOL CAutoRenamePreset::SaveToRegistry(IProfileStore& store) const
{
    if (m_presets.size() > std::numeric_limits<UINT>::max() / PRESETDATA_SIZE)
        return FALSE;
    std::vector<BYTE> data(m_presets.size() * PRESETDATA_SIZE);
    for (size_t i = 0; i < m_presets.size(); ++i)
        WritePresetBytes(*m_presets[i], data.data() + i * PRESETDATA_SIZE);
    return store.WriteProfileBinary(SECTION, ENTRY, data.data(), static_cast<UINT>(data.size()));
}

BOOL CAutoRenamePreset::AddPreset(const CString& strFormat)
{
    return AddPreset(MakePreset(strFormat));
}

BOOL CAutoRenamePreset::AddPreset(const tagPRESETDATA& preset)
{
    if (!IsValidPreset(preset))
        return FALSE;
    m_presets.push_back(std::make_unique<tagPRESETDATA>(preset));
    return TRUE;
}

void CAutoRenamePreset::AddDefaultPresets()
{
    for (const char16_t* pszFormat : DEFAULT_FORMATS)
        AddPreset(CString(pszFormat));
}

void CAutoRenamePreset::RemoveAll()
{
    m_presets.clear();
}

BOOL CAutoRenamePreset::RemovePreset(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    m_presets.erase(m_presets.begin() + nIndex);
    return TRUE;
}

BOOL CAutoRenamePreset::ExchangePresets(int nIndex1, int nIndex2)
{
    if (nIndex1 < 0 || nIndex1 >= GetCount() || nIndex2 < 0 || nIndex2 >= GetCount())
        return FALSE;
    std::swap(m_presets[static_cast<size_t>(nIndex1)], m_presets[static_cast<size_t>(nIndex2)]);
    return TRUE;
}

const tagPRESETDATA* CAutoRenamePreset::GetPreset(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_presets[static_cast<size_t>(nIndex)].get();
}

std::vector<tagPRESETMENUENTRY> CAutoRenamePreset::BuildMenu() const
{
    std::vector<tagPRESETMENUENTRY> entries;
    entries.reserve(m_presets.size());
    for (size_t i = 0; i < m_presets.size(); ++i)
        entries.push_back({ID_PRESET_FIRST + static_cast<UINT>(i), GetPresetFormat(*m_presets[i])});
    return entries;
}
