#include "rename/ui/RenameListDialog.h"

#include "browser/ui/QtString.h"
#include "rename/AutoRename.h"
#include "rename/ui/AlterNameDialog.h"
#include "rename/ui/DialogButtons.h"
#include "rename/ui/RenameImages.h"
#include "rename/ui/RenameListModel.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace
{

// A legend line: the mark, then what it means.
void AddLegend(QGridLayout* pGrid, QWidget* pParent, ERenameImage nImage, const QString& strText)
{
    const int nRow = pGrid->rowCount();
    auto* pImage = new QLabel(pParent);
    pImage->setPixmap(RenameImages::CreateImage(nImage).pixmap(QSize(16, 16)));
    auto* pText = new QLabel(strText, pParent);
    pGrid->addWidget(pImage, nRow, 0);
    pGrid->addWidget(pText, nRow, 1);
}

} // namespace

CRenameListDialog::CRenameListDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("376"));
    setWindowTitle(QStringLiteral("Confirm Rename"));

    auto* pText = new QLabel(
        QStringLiteral("Following list displays current and new filenames, before any renaming "
                       "you can check and verify filenames.\nClick Alter button to change the "
                       "new filename."),
        this);
    pText->setWordWrap(true);
    m_pAlter = new QPushButton(QStringLiteral("&Alter"), this);
    m_pAlter->setObjectName(QStringLiteral("1083"));

    m_pList = new QTreeView(this);
    m_pList->setObjectName(QStringLiteral("1081"));
    m_pList->setRootIsDecorated(false);
    m_pList->setItemsExpandable(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setSortingEnabled(false);
    m_pList->setIconSize(QSize(16, 16));
    m_pList->setAllColumnsShowFocus(true);
    m_pList->header()->setSectionsClickable(false);
    m_pList->header()->setSectionsMovable(false);
    m_pList->header()->setStretchLastSection(false);
    m_pList->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // F2 alters the row as a double click does.
    auto* pAlterKey = new QAction(m_pList);
    pAlterKey->setShortcut(QKeySequence(Qt::Key_F2));
    pAlterKey->setShortcutContext(Qt::WidgetShortcut);
    m_pList->addAction(pAlterKey);
    connect(pAlterKey, &QAction::triggered, this,
            [this]
            {
                // The row with the focus counts as chosen.
                const QModelIndex current = m_pList->currentIndex();
                if (current.isValid() && !m_pList->selectionModel()->hasSelection())
                    m_pList->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
                OnAlter();
            });
    connect(m_pList, &QTreeView::doubleClicked, this, [this] { OnAlter(); });
    connect(m_pAlter, &QPushButton::clicked, this, &CRenameListDialog::OnAlter);

    auto* pLegend = new QGridLayout;
    pLegend->setColumnStretch(1, 1);
    AddLegend(pLegend, this, RENAME_IMAGE_PARTIAL,
              QStringLiteral("Indicates some fields in the new filename are empty."));
    AddLegend(pLegend, this, RENAME_IMAGE_CLASH,
              QStringLiteral("Indicates a file with this name already exist."));

    const tagOKCANCEL buttons = CreateOkCancel(*this);
    QDialogButtonBox* pButtons = buttons.pBox;
    QPushButton* pOK = buttons.pOK;
    QPushButton* pCancel = buttons.pCancel;

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(pText, 1);
    pTop->addWidget(m_pAlter, 0, Qt::AlignBottom);
    auto* pBottom = new QHBoxLayout;
    pBottom->addLayout(pLegend, 1);
    pBottom->addWidget(pButtons, 0, Qt::AlignBottom);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addWidget(m_pList, 1);
    pLayout->addLayout(pBottom);

    setTabOrder(m_pAlter, m_pList);
    setTabOrder(m_pList, pOK);
    setTabOrder(pOK, pCancel);
    resize(760, 420);
}

CRenameListDialog::~CRenameListDialog() = default;

int CRenameListDialog::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CRenameListDialog::OnInitDialog()
{
    delete m_pModel;
    m_pModel = nullptr;
    if (!m_pEngine)
        return;
    m_pModel = new CRenameListModel(*m_pEngine, this);
    m_pList->setModel(m_pModel);
    m_pList->setColumnWidth(CRenameListModel::COLUMN_FILENAME, 300);
    m_pList->setColumnWidth(CRenameListModel::COLUMN_NEW_FILENAME, 300);
    m_pList->setColumnWidth(CRenameListModel::COLUMN_FOLDER, 500);
    // The list takes the keys: Return confirms, F2 alters, the arrows move.
    m_pList->setFocus();
    if (m_pModel->rowCount() > 0)
        m_pList->selectionModel()->setCurrentIndex(m_pModel->index(0, 0),
                                                   QItemSelectionModel::NoUpdate);
}

void CRenameListDialog::OnAlter()
{
    if (!m_pModel)
        return;
    const QModelIndexList arrSelected = m_pList->selectionModel()->selectedRows();
    if (arrSelected.isEmpty())
        return;
    int nRow = arrSelected.first().row();
    for (const QModelIndex& index : arrSelected)
        nRow = std::min(nRow, index.row());
    tagRENAMEITEM* pItem = m_pModel->GetItem(nRow);
    if (!pItem)
        return;

    CAlterNameDialog dialog(this);
    dialog.m_strName = pItem->strNewName;
    if (dialog.DoModal() != QDialog::Accepted || dialog.m_strName == pItem->strNewName)
        return;
    // Every clash is worked out again against all names as they now stand.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    pItem->strNewName = dialog.m_strName;
    pItem->bAllFields = TRUE;
    m_pEngine->UpdateConflicts();
    m_pModel->RefreshAll();
    QApplication::restoreOverrideCursor();
}
