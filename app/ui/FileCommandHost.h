// The application's side of the file list's commands that open other subsystems' windows: the
// tag editors, Remove Tag and the renames over the records the list hands over, with the options
// and the presets of the application, modally over the main window.
#pragma once

#include "browser/FileCommandHost.h"

#include <memory>

class CApp;
class CBaseTagEditDialog;
class QWidget;

class CFileCommandHost : public IFileCommandHost
{
public:
    CFileCommandHost(CApp& app, QWidget* pOwner);

    ~CFileCommandHost() override;

    BOOL CanRunCommand(EFileCommand command, int nRecords) const override;
    std::vector<CString> GetRenamePresets() const override;
    std::vector<CFileAssocData*>
    RunCommand(EFileCommand command, int nPreset,
               const std::vector<CFileAssocData*>& arrRecords) override;
    CUndoHistory* GetUndoHistory() override { return m_pHistory.get(); }

private:
    // The options and the options dialog the tag editors use.
    void PrepareEditor(CBaseTagEditDialog& dialog);
    std::vector<CFileAssocData*> EditTag(CFileAssocData& record);
    std::vector<CFileAssocData*> EditTags(const std::vector<CFileAssocData*>& arrRecords);
    std::vector<CFileAssocData*> RemoveTag(const std::vector<CFileAssocData*>& arrRecords);
    // Auto Rename (nPreset < 0) and the rename presets.
    std::vector<CFileAssocData*> AutoRename(int nPreset,
                                            const std::vector<CFileAssocData*>& arrRecords);
    // The fields the pattern reads from each file's name written into its tags.
    std::vector<CFileAssocData*> TagsFromName(const std::vector<CFileAssocData*>& arrRecords);

    CApp& m_app;
    QWidget* m_pOwner = nullptr;
    // The changes made to files, dropped with the main window at exit.
    std::unique_ptr<CUndoHistory> m_pHistory;
};
