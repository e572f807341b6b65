// CAutoRenameCommand: the file list's rename command over the selected records. The preset
// comes from the "Auto Rename" dialog or from the store; the engine plans the names, the
// "Confirm Rename" list shows the plan, the renames run in the busy state, and the failures are
// shown afterwards in the diagnostics dialog.
#pragma once

#include "rename/AutoRename.h"

#include <vector>

class CAutoRenamePreset;
class CFileAssocData;
class CFileChange;
class IBusyState;
class QWidget;

class CAutoRenameCommand : public IRenameHost
{
public:
    // The busy state and the store are borrowed; the dialogs open over pOwner.
    CAutoRenameCommand(IBusyState& busyState, CAutoRenamePreset& presets, QWidget* pOwner);

    // The command with the dialog (nPreset < 0) or with the stored preset nPreset, over the
    // selected records in list order (null for an entry without one). Returns the records to
    // show again, those that became stale included; empty when nothing was renamed.
    std::vector<CFileAssocData*> Run(int nPreset, const std::vector<CFileAssocData*>& arrRecords);
    // Where the renames are recorded for Undo; none: nothing is recorded.
    void SetChange(CFileChange* pChange) { m_pChange = pChange; }

    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    BOOL ConfirmRename(CAutoRename& engine) override;

private:
    IBusyState& m_busyState;
    CAutoRenamePreset& m_presets;
    QWidget* m_pOwner = nullptr;
    CFileChange* m_pChange = nullptr;
};
