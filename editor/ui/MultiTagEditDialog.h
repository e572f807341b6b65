// CMultiTagEditDialog: the "Tags" dialog for several files. It shows no file's values: every
// field starts as "<Keep>" and the frame list has one "<Keep>" row per frame ID found in any of
// the files. The user's changes are recorded as field values and frame actions and applied to
// each file in turn on OK.
#pragma once

#include "base/String.h"
#include "editor/ActionList.h"
#include "editor/ui/BaseTagEditDialog.h"
#include "tags/file/FileEx.h"

#include <memory>
#include <vector>

class CDiagnosticMessages;
class IBusyState;

class CMultiTagEditDialog : public CBaseTagEditDialog
{
    Q_OBJECT

public:
    // busy: the application's busy state, which the scan and the write loop run in.
    explicit CMultiTagEditDialog(IBusyState& busy, QWidget* pParent = nullptr);
    ~CMultiTagEditDialog() override;

    // Where OK's failures are collected; the caller shows them once the dialog has closed.
    void SetDiagnostics(CDiagnosticMessages* pDiagnostics) { m_pDiagnostics = pDiagnostics; }
    // Scans the files and runs the dialog: Accepted once the write loop ran (also when Esc
    // stopped it), Rejected when nothing was written: Cancel, Esc during the scan, or a file
    // that did not open (string 140 was shown).
    int DoModal();

    const CActionList* GetActions() const { return m_pActions.get(); }

    // Full paths of the files, in the order of the selected rows; filled before DoModal.
    std::vector<CString> m_files;

protected:
    // FALSE when the editor is not to be shown.
    BOOL OnInitDialog();
    void OnAddFrame(int nCommand) override;
    void OnEditFrame() override;
    void OnRemoveFrame() override;
    void OnKeepFrame() override;
    void OnFieldMenu(ID3V1_FIELD field) override;
    void OnOK() override;

private:
    QTreeWidgetItem* InsertActionItem(CActionList::Action& action);
    void SetFieldsToKeep();
    // A new frame of the ID as its dialog filled it; null when the dialog was cancelled.
    std::unique_ptr<Tags::ID3v2Tag::CFrame> CreateFrameWithDialog(const char* szID);
    // Question 127; TRUE for Yes.
    BOOL AskUseSameField();
    void ShowAction(const CActionList::Action& action);
    // Remove and Keep: the selected row's action takes the type, and the row below is selected.
    void SetSelectedActionType(int nType);
    CActionList::Action* GetSelectedAction() const;

    IBusyState& m_busy;
    CDiagnosticMessages* m_pDiagnostics = nullptr;
    std::unique_ptr<CActionList> m_pActions;
    // Each file's stamp as the scan found it, in the order of m_files.
    std::vector<Tags::tagFILESTAMP> m_stamps;
};
