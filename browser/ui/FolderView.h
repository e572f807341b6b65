// CFolderView: the folder tree of the folder pane. A folder chosen with the mouse or with Enter
// is reported through folderChosen; moving with the arrow keys and selecting by program only
// move the selection.
#pragma once

#include "FolderRoots.h"
#include "base/String.h"
#include "base/Types.h"

#include <QPersistentModelIndex>
#include <QTreeView>

#include <memory>
#include <vector>

class CFolderTreeModel;

class CFolderView : public QTreeView
{
    Q_OBJECT

public:
    // The roots default to home, the file system's root and the mounted volumes.
    explicit CFolderView(QWidget* pParent = nullptr);
    CFolderView(const std::vector<tagFOLDERROOT>& arrRoots, QWidget* pParent);
    ~CFolderView() override;

    CFolderTreeModel* GetFolderModel() const { return m_pModel.get(); }

    // The file-system path of an item; empty when it has none.
    CString GetItemPath(const QModelIndex& index) const;
    // The selected item; invalid when nothing is selected.
    QModelIndex GetSelectedItem() const;
    // The path of the selected item; empty when nothing is selected.
    CString GetSelectedPath() const;
    // Selects a folder, opening the folders above it, without reporting a choice. FALSE when
    // the folder is not in the tree (the selection is then unchanged).
    BOOL SelectPath(const CString& strPath);
    // Takes the selection away, so that the next click on any folder, also the one that was
    // selected, is a choice.
    void ClearFolderSelection();

signals:
    // A folder was chosen: a click that selected it, or Enter on the selected item.
    void folderChosen(const QModelIndex& index);

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    // Reports the choice when a mouse action selected another item than it found selected.
    void ReportMouseSelection();

    std::unique_ptr<CFolderTreeModel> m_pModel;
    // The selected item when the left button went down, and whether that press has been
    // reported already.
    QPersistentModelIndex m_indexAtPress;
    bool m_bPressReported = true;
};
