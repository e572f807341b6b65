// CChooseColumnsDialog: the "Choose Columns" dialog over a column manager: a check list of the
// columns in display order, the width of the selected one, Move Up and Move Down.
#pragma once

#include "browser/ColumnManager.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class CChooseColumnsDialog : public QDialog
{
    Q_OBJECT

public:
    // Opening the dialog reads the list's current columns through the manager.
    CChooseColumnsDialog(CColumnManager& manager, QWidget* pParent = nullptr);

    // The dialog's items in their order (table index and check state).
    std::vector<tagCHOOSECOLUMNITEM> GetItems() const;

    void accept() override;

private:
    void AddItem(const tagCHOOSECOLUMNITEM& item, int nRow);
    void OnSelectionChanged();
    void OnItemChanged(QListWidgetItem* pItem);
    void OnWidthEdited(const QString& strText);
    void MoveSelected(bool bUp);

    CColumnManager& m_manager;
    QListWidget* m_pList = nullptr;
    QLineEdit* m_pWidth = nullptr;
    QPushButton* m_pMoveUp = nullptr;
    QPushButton* m_pMoveDown = nullptr;
};
