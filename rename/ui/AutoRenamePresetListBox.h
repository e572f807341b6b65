// CAutoRenamePresetListBox: the preset list of the auto-rename dialog, an editable list bound to
// the preset store. Each row shows a preset's pattern and carries its record; Delete, Move Up
// and Move Down change the store at once, so that it keeps the list's order. Editing a row in
// place changes only the text shown.
#pragma once

#include "browser/ui/NotifyVSListBox.h"
#include "rename/PresetData.h"

class CAutoRenamePreset;

class CAutoRenamePresetListBox : public CNotifyVSListBox
{
    Q_OBJECT

public:
    explicit CAutoRenamePresetListBox(QWidget* pParent = nullptr);

    // Binds the list to the store (borrowed) and fills it with one row per preset, in order.
    void FillFromStore(CAutoRenamePreset* pPresets);
    // The rows have all been added (selection changes are reported only from then on).
    BOOL IsFilled() const { return m_bFilled; }

    // Appends a copy of the preset to the store and a row for it; FALSE when the store
    // refused it.
    BOOL AddPreset(const tagPRESETDATA& preset);
    // The record of the selected row, or null.
    const tagPRESETDATA* GetSelectedPreset() const;

signals:
    // The selected row changed after the list was filled.
    void presetSelected();

protected:
    BOOL OnBeforeRemoveItem(int nItem) override;
    void OnAfterMoveItemUp(int nItem) override;
    void OnAfterMoveItemDown(int nItem) override;
    void OnSelectionChanged() override;

private:
    void AddRow(const tagPRESETDATA& preset);

    CAutoRenamePreset* m_pPresets = nullptr;
    BOOL m_bFilled = FALSE;
};
