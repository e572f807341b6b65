#include "app/ui/FileCommandHost.h"

#include "app/ui/App.h"
#include "app/ui/OptionsDialog.h"
#include "browser/FileAssocData.h"
#include "browser/UndoHistory.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/QtString.h"
#include "editor/ActionList.h"
#include "editor/MultiTagWriting.h"
#include "editor/NameFields.h"
#include "editor/RemoveTags.h"
#include "editor/TagWriting.h"
#include "editor/ui/MultiTagEditDialog.h"
#include "editor/ui/SingleTagEditDialog.h"
#include "rename/TagsFromName.h"
#include "rename/ui/AutoRenameCommand.h"
#include "rename/ui/TagsFromNameDialog.h"
#include "res/StringTable.h"

#include <QMessageBox>

#include <memory>

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

tagNAMEFIELDVALUES ToFieldValues(const tagNAMEFIELDS& fields)
{
    tagNAMEFIELDVALUES values;
    values.strTitle = fields.Get(NAME_TITLE);
    values.strAlbum = fields.Get(NAME_ALBUM);
    values.strArtist = fields.Get(NAME_ARTIST);
    values.strTrack = fields.Get(NAME_TRACK);
    values.strYear = fields.Get(NAME_YEAR);
    values.strGenre = fields.Get(NAME_GENRE);
    return values;
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
    case EFileCommand::TagsFromName:
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
    case EFileCommand::TagsFromName:
        return TagsFromName(arrRecords);
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

std::vector<CFileAssocData*>
CFileCommandHost::TagsFromName(const std::vector<CFileAssocData*>& arrRecords)
{
    std::vector<CString> arrFiles;
    for (const CFileAssocData* pRecord : arrRecords)
        arrFiles.push_back(pRecord->GetFullPath());
    CString strPattern;
    {
        CTagsFromNameDialog dialog(m_pOwner);
        dialog.m_files = arrFiles;
        dialog.m_arrRecent = m_app.m_arrNamePatterns;
        if (dialog.DoModal() != QDialog::Accepted)
            return {};
        strPattern = dialog.m_strPattern;
    }
    AddRecentNamePattern(m_app.m_arrNamePatterns, strPattern);

    // The names are matched again as they are now; a file that does not match is left alone
    // and listed first.
    const CNamePattern pattern(strPattern);
    CDiagnosticDialog diagnostics(m_pOwner);
    std::vector<tagNAMEFIELDVALUES> arrFields(arrFiles.size());
    std::vector<bool> arrMatched(arrFiles.size());
    std::vector<CFileAssocData*> arrChanged;
    for (size_t i = 0; i < arrFiles.size(); ++i)
    {
        tagNAMEFIELDS fields;
        arrMatched[i] = pattern.Match(arrFiles[i], fields) != FALSE;
        if (arrMatched[i])
        {
            arrFields[i] = ToFieldValues(fields);
            arrChanged.push_back(arrRecords[i]);
        }
        else
        {
            diagnostics.AddMessage(
                Res::FormatResourceString(Res::IDS_NAME_DOES_NOT_MATCH, arrFiles[i]));
        }
    }

    const tagTAGOPTIONS options = GetTagOptions(m_app);
    std::unique_ptr<CActionList> pActions;
    tagID3V1VALUES values;
    const auto provider = [&](size_t nIndex, tagFILECHANGES& changes)
    {
        if (!arrMatched[nIndex])
            return FALSE;
        pActions = std::make_unique<CActionList>();
        GetNameFieldChanges(arrFields[nIndex], options.nWriteVersion, *pActions, values);
        changes.pActions = pActions.get();
        changes.pValues = &values;
        return TRUE;
    };
    std::unique_ptr<CFileChange> pChange = m_pHistory->BeginChange(u"Tags from File Name");
    WriteTagsToFiles(arrFiles, provider, options, m_app.GetBusyState(), &diagnostics, nullptr,
                     pChange.get());
    m_pHistory->AddChange(std::move(pChange));
    // Written, stopped by Esc or refused: every row shows its file as it is now.
    for (CFileAssocData* pRecord : arrChanged)
        pRecord->Reload();
    if (diagnostics.GetCount() > 0)
        diagnostics.exec();
    return arrChanged;
}
