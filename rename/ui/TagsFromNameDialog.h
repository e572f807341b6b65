// CTagsFromNameDialog: "Tags from File Name", where the user types or assembles a pattern of
// field tokens and sees, file by file, the fields each name gives. On OK the pattern is the
// checked one and at least one file matches it.
#pragma once

#include "base/String.h"

#include <QDialog>

#include <vector>

class CNamePattern;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QToolButton;
class QTreeView;

class CTagsFromNameDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CTagsFromNameDialog(QWidget* pParent = nullptr);
    ~CTagsFromNameDialog() override;

    // Fills the controls and runs the dialog modally.
    int exec() override;
    int DoModal() { return exec(); }

    // The files whose names are matched, full paths in list order; set before the run.
    std::vector<CString> m_files;
    // The patterns used lately, most recent first; the first one is offered in the box.
    std::vector<CString> m_arrRecent;
    // After OK: the pattern, trimmed.
    CString m_strPattern;

protected:
    void OnInitDialog();
    void OnOK();
    // The token menu button: the chosen token replaces the pattern's selection.
    void OnTokenButton();
    void OnPatternChanged();

private:
    void accept() override;
    void InsertPatternToken(const QString& strToken);
    // One row per file: its name and the fields the pattern gives, or greyed when it does not
    // match. Returns how many files match.
    int UpdatePreview(const CNamePattern& pattern);

    QComboBox* m_pPattern = nullptr;
    QToolButton* m_pTokenButton = nullptr;
    QMenu* m_pTokenMenu = nullptr;
    QLabel* m_pStatus = nullptr;
    QTreeView* m_pPreview = nullptr;
    QStandardItemModel* m_pModel = nullptr;
    QPushButton* m_pOK = nullptr;
};
