// CRenameListDialog: "Confirm Rename", the plan of a rename before anything is renamed: every
// file with its current name, its planned name with a mark (ready, empty field, clash) and its
// folder. Alter (the button, a double click or F2 on a row) changes one planned name; the marks
// of every row are then worked out again. OK confirms the plan, Cancel renames nothing.
#pragma once

#include <QDialog>

class CAutoRename;
class CRenameListModel;
class QPushButton;
class QTreeView;

class CRenameListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CRenameListDialog(QWidget* pParent = nullptr);
    ~CRenameListDialog() override;

    // The engine whose plan is shown (borrowed); set before the run.
    void SetEngine(CAutoRename* pEngine) { m_pEngine = pEngine; }

    // Shows the plan and runs the dialog modally.
    int exec() override;
    int DoModal() { return exec(); }

    QTreeView* GetList() const { return m_pList; }

    // Alters the planned name of the first selected row, if any.
    void OnAlter();

protected:
    void OnInitDialog();

private:
    CAutoRename* m_pEngine = nullptr;
    QTreeView* m_pList = nullptr;
    QPushButton* m_pAlter = nullptr;
    CRenameListModel* m_pModel = nullptr;
};
