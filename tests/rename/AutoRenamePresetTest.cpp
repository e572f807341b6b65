#include "rename/AutoRenamePreset.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

const CString SECTION = u"Settings";
const CString ENTRY = u"AutoRenamePresets";

std::vector<BYTE> Stored(const std::vector<tagPRESETDATA>& presets, size_t nExtra = 0)
{
    std::vector<BYTE> data(presets.size() * PRESETDATA_SIZE + nExtra, 0x5A);
    for (size_t i = 0; i < presets.size(); ++i)
        WritePresetBytes(presets[i], data.data() + i * PRESETDATA_SIZE);
    return data;
}

void Store(CMemoryProfileStore& store, const std::vector<BYTE>& data)
{
    store.WriteProfileBinary(SECTION, ENTRY, data.data(), static_cast<UINT>(data.size()));
}

std::vector<CString> Formats(const CAutoRenamePreset& presets)
{
    std::vector<CString> formats;
    for (int i = 0; i < presets.GetCount(); ++i)
        formats.push_back(GetPresetFormat(*presets.GetPreset(i)));
    return formats;
}

} // namespace

TEST(AutoRenamePresetTest, AMissingValueLoadsNothingAndTellsSo)
{
    CMemoryProfileStore store;
    CAutoRenamePreset presets;
    EXPECT_FALSE(presets.LoadFromRegistry(store));
    EXPECT_EQ(presets.GetCount(), 0);

    // A value of another type cannot be read either.
    store.WriteProfileInt(SECTION, ENTRY, 3);
    EXPECT_FALSE(presets.LoadFromRegistry(store));
}

TEST(AutoRenamePresetTest, DefaultsAreTheFourStandardPatterns)
{
    CAutoRenamePreset presets;
    presets.AddDefaultPresets();
    EXPECT_EQ(Formats(presets),
              (std::vector<CString>{u"<title>", u"<counter> <title>", u"<artist>-<title>",
                                    u"<artist>-<album>-<title>"}));
    for (int i = 0; i < presets.GetCount(); ++i)
    {
        const tagPRESETDATA& preset = *presets.GetPreset(i);
        EXPECT_EQ(preset.nCounterStart, 0);
        EXPECT_EQ(preset.nCounterStep, 1);
        EXPECT_EQ(preset.nLeadingZeros, 3);
        EXPECT_EQ(preset.bResetPerFolder, TRUE);
    }
}

TEST(AutoRenamePresetTest, OneInvalidRecordDiscardsTheWholeValue)
{
    CMemoryProfileStore store;
    Store(store, Stored({MakePreset(u"<title>"), MakePreset(u"<artist>", 0, 1, 6)}));
    CAutoRenamePreset presets;
    presets.AddPreset(CString(u"<year>")); // loading replaces what was there
    EXPECT_FALSE(presets.LoadFromRegistry(store));
    EXPECT_EQ(presets.GetCount(), 0);
}

TEST(AutoRenamePresetTest, BytesAfterTheLastWholeRecordAreIgnored)
{
    CMemoryProfileStore store;
    Store(store, Stored({MakePreset(u"<genre>", 5, 2, 4, FALSE)}, 68));
    CAutoRenamePreset presets;
    EXPECT_TRUE(presets.LoadFromRegistry(store));
    ASSERT_EQ(presets.GetCount(), 1);
    const tagPRESETDATA& preset = *presets.GetPreset(0);
    EXPECT_EQ(GetPresetFormat(preset), CString(u"<genre>"));
    EXPECT_EQ(preset.nCounterStart, 5);
    EXPECT_EQ(preset.nCounterStep, 2);
    EXPECT_EQ(preset.nLeadingZeros, 4);
    EXPECT_EQ(preset.bResetPerFolder, FALSE);
}

TEST(AutoRenamePresetTest, AnEmptyOrShortValueGivesNoPresetsAndNoFallback)
{
    CMemoryProfileStore store;
    CAutoRenamePreset presets;
    Store(store, {});
    EXPECT_TRUE(presets.LoadFromRegistry(store));
    EXPECT_EQ(presets.GetCount(), 0);
    Store(store, std::vector<BYTE>(531, 0));
    EXPECT_TRUE(presets.LoadFromRegistry(store));
    EXPECT_EQ(presets.GetCount(), 0);
}

TEST(AutoRenamePresetTest, MoreThanSixteenStoredPresetsAllLoad)
{
    std::vector<tagPRESETDATA> stored;
    for (int i = 0; i < 20; ++i)
        stored.push_back(MakePreset(u"<counter>", i));
    CMemoryProfileStore store;
    Store(store, Stored(stored));
    CAutoRenamePreset presets;
    EXPECT_TRUE(presets.LoadFromRegistry(store));
    EXPECT_EQ(presets.GetCount(), 20);
    EXPECT_TRUE(presets.IsFull());
    EXPECT_EQ(presets.GetPreset(19)->nCounterStart, 19);
}

TEST(AutoRenamePresetTest, SavingWritesTheRecordsInOrderAndLoadsBackTheSame)
{
    CAutoRenamePreset presets;
    presets.AddPreset(MakePreset(u"<artist> - <title>", 10, 3, 2, FALSE));
    presets.AddPreset(CString(u"<track>"));
    CMemoryProfileStore store;
    EXPECT_TRUE(presets.SaveToRegistry(store));

    std::vector<BYTE> data;
    ASSERT_TRUE(store.GetProfileBinary(SECTION, ENTRY, data));
    EXPECT_EQ(data,
              Stored({MakePreset(u"<artist> - <title>", 10, 3, 2, FALSE), MakePreset(u"<track>")}));

    CAutoRenamePreset loaded;
    EXPECT_TRUE(loaded.LoadFromRegistry(store));
    EXPECT_EQ(Formats(loaded), Formats(presets));
    EXPECT_EQ(loaded.GetPreset(0)->nCounterStart, 10);
    EXPECT_EQ(loaded.GetPreset(0)->bResetPerFolder, FALSE);
}

TEST(AutoRenamePresetTest, AnEmptyStoreIsSavedAsAnEmptyValueThatLoadsEmpty)
{
    CAutoRenamePreset presets;
    CMemoryProfileStore store;
    EXPECT_TRUE(presets.SaveToRegistry(store));
    std::vector<BYTE> data(3, 1);
    ASSERT_TRUE(store.GetProfileBinary(SECTION, ENTRY, data));
    EXPECT_TRUE(data.empty());
    CAutoRenamePreset loaded;
    EXPECT_TRUE(loaded.LoadFromRegistry(store));
    EXPECT_EQ(loaded.GetCount(), 0);
}

TEST(AutoRenamePresetTest, InvalidPresetsAreNotAdded)
{
    CAutoRenamePreset presets;
    EXPECT_FALSE(presets.AddPreset(CString(u"a:b")));
    EXPECT_FALSE(presets.AddPreset(MakePreset(u"<title>", 70000)));
    EXPECT_TRUE(presets.AddPreset(CString(u"<title>")));
    EXPECT_TRUE(presets.AddPreset(CString(u"<title>"))); // equal presets may repeat
    EXPECT_EQ(presets.GetCount(), 2);
}

TEST(AutoRenamePresetTest, EntriesAreRemovedAndExchangedByPosition)
{
    CAutoRenamePreset presets;
    for (const char16_t* psz : {u"<title>", u"<album>", u"<artist>"})
        presets.AddPreset(CString(psz));
    EXPECT_TRUE(presets.ExchangePresets(0, 1));
    EXPECT_EQ(Formats(presets), (std::vector<CString>{u"<album>", u"<title>", u"<artist>"}));
    EXPECT_FALSE(presets.ExchangePresets(2, 3));
    EXPECT_FALSE(presets.ExchangePresets(-1, 0));
    EXPECT_TRUE(presets.RemovePreset(1));
    EXPECT_EQ(Formats(presets), (std::vector<CString>{u"<album>", u"<artist>"}));
    EXPECT_FALSE(presets.RemovePreset(2));
    EXPECT_EQ(presets.GetPreset(2), nullptr);
    presets.RemoveAll();
    EXPECT_EQ(presets.GetCount(), 0);
}

TEST(AutoRenamePresetTest, TheStoreTellsWhenTheDialogMayAddNoMore)
{
    CAutoRenamePreset presets;
    for (int i = 0; i < 15; ++i)
        presets.AddPreset(CString(u"<title>"));
    EXPECT_FALSE(presets.IsFull());
    presets.AddPreset(CString(u"<title>"));
    EXPECT_TRUE(presets.IsFull());
    EXPECT_EQ(CAutoRenamePreset::MAX_PRESETS, 16);
}

TEST(AutoRenamePresetTest, MenuEntriesCarryThePatternAndTheCommandOfTheirPosition)
{
    CAutoRenamePreset presets;
    EXPECT_TRUE(presets.BuildMenu().empty());
    presets.AddPreset(CString(u"<title>"));
    presets.AddPreset(CString(u"<counter> <title>"));
    const std::vector<tagPRESETMENUENTRY> entries = presets.BuildMenu();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].nID, 32934u);
    EXPECT_EQ(entries[0].strText, CString(u"<title>"));
    EXPECT_EQ(entries[1].nID, 32935u);
    EXPECT_EQ(entries[1].strText, CString(u"<counter> <title>"));
}
