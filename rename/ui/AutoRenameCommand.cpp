#include "rename/ui/AutoRenameCommand.h"

#include "browser/ui/DiagnosticDialog.h"
#include "rename/AutoRenamePreset.h"
#include "rename/RenamePlan.h"
#include "rename/ui/AutoRenameDialog.h"
#include "rename/ui/RenameListDialog.h"

#include <QApplication>
#include <QCursor>

#include <algorithm>

CAutoRenameCommand::CAutoRenameCommand(IBusyState& busyState, CAutoRenamePreset& presets,
                                       QWidget* pOwner)
    : m_busyState(busyState), m_presets(presets), m_pOwner(pOwner)
{
}

std::vector<CFileAssocData*> CAutoRenameCommand::Run(int nPreset,
                                                     const std::vector<CFileAssocData*>& arrRecords)
{
    CAutoRename engine(m_busyState, this);
    engine.SetChange(m_pChange);
    AddSelectedRecords(engine, arrRecords);
    if (engine.GetCount() == 0)
        return {};

    tagPRESETDATA preset;
    if (nPreset < 0)
    {
        CAutoRenameDialog dialog(m_pOwner);
        dialog.SetPresets(&m_presets);
        const auto itFirst = std::find_if(arrRecords.begin(), arrRecords.end(),
                                          [](const CFileAssocData* p) { return p != nullptr; });
        dialog.SetPreviewRecord(*itFirst);
        if (dialog.DoModal() != QDialog::Accepted)
            return {};
        preset = dialog.m_preset;
    }
    else
    {
        const tagPRESETDATA* pStored = m_presets.GetPreset(nPreset);
        if (!pStored)
            return {};
        preset = *pStored;
    }

    CDiagnosticDialog diagnostics(m_pOwner);
    if (!engine.Execute(preset, &diagnostics))
        return {};
    if (diagnostics.GetCount() > 0)
        diagnostics.exec();

    std::vector<CFileAssocData*> arrShown;
    std::copy_if(arrRecords.begin(), arrRecords.end(), std::back_inserter(arrShown),
                 [](const CFileAssocData* p) { return p != nullptr; });
    return arrShown;
}

void CAutoRenameCommand::BeginWaitCursor()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CAutoRenameCommand::EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

BOOL CAutoRenameCommand::ConfirmRename(CAutoRename& engine)
{
    CRenameListDialog dialog(m_pOwner);
    dialog.SetEngine(&engine);
    return dialog.DoModal() == QDialog::Accepted ? TRUE : FALSE;
}
