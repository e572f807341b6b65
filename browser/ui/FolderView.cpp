#include "FolderView.h"

#include "FolderTreeModel.h"
#include "QtString.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

CFolderView::CFolderView(QWidget* pParent) : CFolderView(FolderRoots::GetFolderRoots(), pParent) {}

CFolderView::CFolderView(const std::vector<tagFOLDERROOT>& arrRoots, QWidget* pParent)
    : QTreeView(pParent), m_pModel(std::make_unique<CFolderTreeModel>(arrRoots))
{
    setObjectName(QStringLiteral("1"));
    setModel(m_pModel.get());
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(true);
    setDragEnabled(false);
    setAnimated(false);
    // Long names scroll sideways rather than being cut.
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);

    // A folder collapsed and opened again shows the folders it holds now.
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { m_pModel->MarkStale(index); });
    connect(this, &QTreeView::expanded, this,
            [this](const QModelIndex& index)
            {
                if (!m_pModel->canFetchMore(index))
                    m_pModel->Refresh(index);
            });
}

CFolderView::~CFolderView()
{
    // The view lets go of the model before the model goes.
    setModel(nullptr);
}

CString CFolderView::GetItemPath(const QModelIndex& index) const
{
    return ToCString(m_pModel->GetItemPath(index));
}

QModelIndex CFolderView::GetSelectedItem() const
{
    const QModelIndexList arrSelected = selectionModel()->selectedIndexes();
    return arrSelected.isEmpty() ? QModelIndex() : arrSelected.first();
}

CString CFolderView::GetSelectedPath() const
{
    return GetItemPath(GetSelectedItem());
}

BOOL CFolderView::SelectPath(const CString& strPath)
{
    const QModelIndex index = m_pModel->FindPath(ToQString(strPath));
    if (!index.isValid())
        return FALSE;
    for (QModelIndex parentIndex = index.parent(); parentIndex.isValid();
         parentIndex = parentIndex.parent())
        expand(parentIndex);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
    return TRUE;
}

void CFolderView::ClearFolderSelection()
{
    selectionModel()->clearSelection();
}

void CFolderView::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter)
    {
        // Enter chooses the selected folder, also when it was chosen before; the tree itself
        // does not see the key.
        const QModelIndex index = GetSelectedItem();
        if (index.isValid())
            emit folderChosen(index);
        pEvent->accept();
        return;
    }
    QTreeView::keyPressEvent(pEvent);
}

void CFolderView::mousePressEvent(QMouseEvent* pEvent)
{
    // Only the left button selects; a right or middle click leaves the selection alone, so
    // that it cannot make the next left click on that folder a non-choice.
    if (pEvent->button() != Qt::LeftButton)
    {
        setFocus(Qt::MouseFocusReason);
        pEvent->accept();
        return;
    }
    m_indexAtPress = GetSelectedItem();
    m_bPressReported = false;
    QTreeView::mousePressEvent(pEvent);
    ReportMouseSelection();
}

void CFolderView::mouseMoveEvent(QMouseEvent* pEvent)
{
    // Dragging over the tree does not move the selection.
    if (pEvent->buttons() & Qt::LeftButton)
    {
        pEvent->accept();
        return;
    }
    QTreeView::mouseMoveEvent(pEvent);
}

void CFolderView::mouseReleaseEvent(QMouseEvent* pEvent)
{
    QTreeView::mouseReleaseEvent(pEvent);
    if (pEvent->button() == Qt::LeftButton)
    {
        ReportMouseSelection();
        m_bPressReported = true;
    }
}

void CFolderView::ReportMouseSelection()
{
    if (m_bPressReported)
        return;
    const QModelIndex index = GetSelectedItem();
    if (!index.isValid() || QPersistentModelIndex(index) == m_indexAtPress)
        return;
    m_bPressReported = true;
    emit folderChosen(index);
}
