#include "app/ui/FileCommandHost.h"

#include "app/ui/App.h"
#include "app/ui/OptionsDialog.h"
#include "browser/FileAssocData.h"
#include "browser/UndoHistory.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/QtString.h"
#include "editor/RemoveTags.h"
#include "editor/TagWriting.h"
#include "editor/ui/MultiTagEditDialog.h"
#include "editor/ui/SingleTagEditDialog.h"
#include "rename/ui/AutoRenameCommand.h"
#include "res/StringTable.h"

#include <QMessageBox>

namespace
{

tagTAGOPTIONS GetTagOptions(const CAppSettings& settings)
{
    tagTAGOPTIONS options;
    options.bWriteID3v1 = settings.m_bWriteID3v1;
    options.bWriteID3v2 = settings.m_bWriteID3v2;
    options.bRemoveID3v1 = settings.m_bRemoveID3v1;
    options.bRemoveID3v2 = settings.m_bRemoveID3v2;
    options.nWriteVersion = settings.m_nID3v2WriteVersion;
    options.nTextEncoding = settings.m_nID3v2TextEncoding;
    return options;
}

} // namespace

CFileCommandHost::CFileCommandHost(CApp& app, QWidget* pOwner)
    : m_app(app), m_pOwner(pOwner), m_pHistory(std::make_unique<CUndoHistory>())
{
}

CFileCommandHost::~CFileCommandHost() = default;

BOOL CFileCommandHost::CanRunCommand(EFileCommand command, int nRecords) const
{
    switch (command)
    {
    case EFileCommand::EditTag:
    case EFileCommand::RemoveTag:
    case EFileCommand::AutoRename:
    case EFileCommand::RenamePreset:
        return nRecords > 0;
    default:
        return FALSE;
    }
}

std::vector<CString> CFileCommandHost::GetRenamePresets() const
{
    std::vector<CString> arrPresets;
    for (const tagPRESETMENUENTRY& entry : m_app.m_presets.BuildMenu())
        arrPresets.push_back(entry.strText);
    return arrPresets;
}

std::vector<CFileAssocData*>
CFileCommandHost::RunCommand(EFileCommand command, int nPreset,
                             const std::vector<CFileAssocData*>& arrRecords)
{
    if (!CanRunCommand(command, static_cast<int>(arrRecords.size())))
        return {};
    switch (command)
    {
    case EFileCommand::EditTag:
        return arrRecords.size() == 1 ? EditTag(*arrRecords.front()) : EditTags(arrRecords);
    case EFileCommand::RemoveTag:
        return RemoveTag(arrRecords);
    case EFileCommand::AutoRename:
        return AutoRename(-1, arrRecords);
    case EFileCommand::RenamePreset:
        return nPreset >= 0 ? AutoRename(nPreset, arrRecords) : std::vector<CFileAssocData*>();
    default:
        return {};
    }
}

void CFileCommandHost::PrepareEditor(CBaseTagEditDialog& dialog)
{
    dialog.SetTagOptions([this] { return GetTagOptions(m_app); });
    dialog.SetOptionsHandler(
        [this](QWidget* pParent)
        {
            COptionsDialog options(m_app, COptionsDialog::PAGE_TAGS, pParent);
            options.DoModal();
        });
}

std::vector<CFileAssocData*> CFileCommandHost::EditTag(CFileAssocData& record)
{
    CSingleTagEditDialog dialog(m_pOwner);
    dialog.SetFilePath(record.GetFullPath());
    PrepareEditor(dialog);
    std::unique_ptr<CFileChange> pChange = m_pHistory->BeginChange(u"Edit Tag");
    dialog.SetChange(pChange.get());
    const int nResult = dialog.DoModal();
    m_pHistory->AddChange(std::move(pChange));
    if (nResult != QDialog::Accepted)
        return {};
    record.Reload();
    return {&record};
}

std::vector<CFileAssocData*>
CFileCommandHost::EditTags(const std::vector<CFileAssocData*>& arrRecords)
{
    CDiagnosticDialog diagnostics(m_pOwner);
    std::vector<CFileAssocData*> arrChanged;
    std::unique_ptr<CFileChange> pChange = m_pHistory->BeginChange(u"Edit Tag");
    {
        CMultiTagEditDialog dialog(m_app.GetBusyState(), m_pOwner);
        dialog.SetChange(pChange.get());
        for (const CFileAssocData* pRecord : arrRecords)
            dialog.m_files.push_back(pRecord->GetFullPath());
        dialog.SetDiagnostics(&diagnostics);
        PrepareEditor(dialog);
        if (dialog.DoModal() == QDialog::Accepted)
        {
            // Written, stopped by Esc or refused: every row shows its file as it is now.
            for (CFileAssocData* pRecord : arrRecords)
                pRecord->Reload();
            arrChanged = arrRecords;
        }
    }
    m_pHistory->AddChange(std::move(pChange));
    if (diagnostics.GetCount() > 0)
        diagnostics.exec();
    return arrChanged;
}

std::vector<CFileAssocData*>
CFileCommandHost::RemoveTag(const std::vector<CFileAssocData*>& arrRecords)
{
    QMessageBox question(QMessageBox::Warning,
                         ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                         ToQString(Res::LoadResourceString(Res::IDS_CONFIRM_REMOVE_TAGS)),
                         QMessageBox::Yes | QMessageBox::No, m_pOwner);
    if (question.exec() != QMessageBox::Yes)
        return {};
    const tagTAGOPTIONS options = GetTagOptions(m_app);
    CDiagnosticDialog diagnostics(m_pOwner);
    std::unique_ptr<CFileChange> pChange = m_pHistory->BeginChange(u"Remove Tag");
    std::vector<CFileAssocData*> arrChanged =
        RemoveRecordTags(arrRecords, GetRemoveTagFlags(options.bRemoveID3v1, options.bRemoveID3v2),
                         &diagnostics, pChange.get());
    m_pHistory->AddChange(std::move(pChange));
    if (diagnostics.GetCount() > 0)
        diagnostics.exec();
    return arrChanged;
}

std::vector<CFileAssocData*>
CFileCommandHost::AutoRename(int nPreset, const std::vector<CFileAssocData*>& arrRecords)
{
    CAutoRenameCommand command(m_app.GetBusyState(), m_app.m_presets, m_pOwner);
    std::unique_ptr<CFileChange> pChange = m_pHistory->BeginChange(u"Auto Rename");
    command.SetChange(pChange.get());
    std::vector<CFileAssocData*> arrChanged = command.Run(nPreset, arrRecords);
    m_pHistory->AddChange(std::move(pChange));
    return arrChanged;
}
