#include "browser/ui/ChooseColumnsDialog.h"

#include "browser/ui/BrowserImages.h"
#include "browser/ui/QtString.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace
{

constexpr int ROLE_INDEX = Qt::UserRole;

} // namespace

CChooseColumnsDialog::CChooseColumnsDialog(CColumnManager& manager, QWidget* pParent)
    : QDialog(pParent), m_manager(manager)
{
    setObjectName(QStringLiteral("200"));
    setWindowTitle(QStringLiteral("Choose Columns"));

    auto* pText = new QLabel(QStringLiteral("Select the columns you want to appear in this view. "
                                            "Click arrow buttons to arrange the columns."),
                             this);
    pText->setWordWrap(true);
    auto* pColumnsLabel = new QLabel(QStringLiteral("Co&lumns:"), this);
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("201"));
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setMinimumWidth(210);
    pColumnsLabel->setBuddy(m_pList);

    m_pMoveUp = new QPushButton(this);
    m_pMoveUp->setObjectName(QStringLiteral("203"));
    m_pMoveUp->setIcon(BrowserImages::CreateArrowIcon(true));
    m_pMoveUp->setToolTip(QStringLiteral("Move Up"));
    m_pMoveUp->setAccessibleName(QStringLiteral("Move Up"));
    m_pMoveUp->setAutoDefault(false);
    m_pMoveDown = new QPushButton(this);
    m_pMoveDown->setObjectName(QStringLiteral("204"));
    m_pMoveDown->setIcon(BrowserImages::CreateArrowIcon(false));
    m_pMoveDown->setToolTip(QStringLiteral("Move Down"));
    m_pMoveDown->setAccessibleName(QStringLiteral("Move Down"));
    m_pMoveDown->setAutoDefault(false);

    auto* pWidthLabel = new QLabel(QStringLiteral("&Width of selected column (in pixels):"), this);
    m_pWidth = new QLineEdit(this);
    m_pWidth->setObjectName(QStringLiteral("202"));
    m_pWidth->setMaxLength(3);
    m_pWidth->setAlignment(Qt::AlignRight);
    m_pWidth->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
    m_pWidth->setMaximumWidth(60);
    pWidthLabel->setBuddy(m_pWidth);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    pButtons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));

    auto* pGrid = new QGridLayout;
    pGrid->addWidget(m_pList, 0, 0, 3, 1);
    pGrid->addWidget(m_pMoveUp, 0, 1);
    pGrid->addWidget(m_pMoveDown, 1, 1);
    pGrid->setRowStretch(2, 1);
    auto* pWidthRow = new QHBoxLayout;
    pWidthRow->addWidget(pWidthLabel);
    pWidthRow->addWidget(m_pWidth);
    pWidthRow->addStretch();
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pText);
    pLayout->addWidget(pColumnsLabel);
    pLayout->addLayout(pGrid);
    pLayout->addLayout(pWidthRow);
    pLayout->addWidget(pButtons);

    const std::vector<tagCHOOSECOLUMNITEM> arrItems = m_manager.BeginChooseColumns();
    for (size_t i = 0; i < arrItems.size(); ++i)
        AddItem(arrItems[i], static_cast<int>(i));

    connect(m_pList, &QListWidget::itemSelectionChanged, this,
            &CChooseColumnsDialog::OnSelectionChanged);
    connect(m_pList, &QListWidget::itemChanged, this, &CChooseColumnsDialog::OnItemChanged);
    connect(m_pWidth, &QLineEdit::textEdited, this, &CChooseColumnsDialog::OnWidthEdited);
    connect(m_pMoveUp, &QPushButton::clicked, this, [this] { MoveSelected(true); });
    connect(m_pMoveDown, &QPushButton::clicked, this, [this] { MoveSelected(false); });
    connect(pButtons, &QDialogButtonBox::accepted, this, &CChooseColumnsDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CChooseColumnsDialog::reject);

    if (m_pList->count() > 0)
    {
        m_pList->setCurrentRow(0);
        m_pList->scrollToItem(m_pList->item(0));
    }
    OnSelectionChanged();
    m_pList->setFocus();
}

void CChooseColumnsDialog::AddItem(const tagCHOOSECOLUMNITEM& item, int nRow)
{
    const tagCOLUMNDATA* pColumn = m_manager.GetColumn(item.nIndex);
    auto* pItem = new QListWidgetItem(pColumn ? ToQString(pColumn->pszTitle) : QString());
    pItem->setData(ROLE_INDEX, item.nIndex);
    pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    pItem->setCheckState(item.bChecked ? Qt::Checked : Qt::Unchecked);
    // A column that cannot be hidden is drawn grayed.
    const QPalette::ColorRole role = QPalette::WindowText;
    pItem->setForeground(palette().color(
        m_manager.IsMandatory(item.nIndex) ? QPalette::Disabled : QPalette::Active, role));
    m_pList->insertItem(nRow, pItem);
}

std::vector<tagCHOOSECOLUMNITEM> CChooseColumnsDialog::GetItems() const
{
    std::vector<tagCHOOSECOLUMNITEM> arrItems;
    for (int n = 0; n < m_pList->count(); ++n)
    {
        const QListWidgetItem* pItem = m_pList->item(n);
        arrItems.push_back(
            {pItem->data(ROLE_INDEX).toInt(), pItem->checkState() == Qt::Checked ? TRUE : FALSE});
    }
    return arrItems;
}

void CChooseColumnsDialog::OnItemChanged(QListWidgetItem* pItem)
{
    // Unchecking a mandatory column is refused.
    if (pItem->checkState() != Qt::Checked &&
        !m_manager.CanUncheck(pItem->data(ROLE_INDEX).toInt()))
    {
        const QSignalBlocker blocker(m_pList);
        pItem->setCheckState(Qt::Checked);
    }
}

void CChooseColumnsDialog::OnSelectionChanged()
{
    const int nRow = m_pList->currentRow();
    const bool bSelected = nRow >= 0 && m_pList->item(nRow)->isSelected();
    m_pMoveUp->setEnabled(bSelected && nRow > 0);
    m_pMoveDown->setEnabled(bSelected && nRow < m_pList->count() - 1);
    if (bSelected)
        m_pWidth->setText(
            QString::number(m_manager.GetEditWidth(m_pList->item(nRow)->data(ROLE_INDEX).toInt())));
}

void CChooseColumnsDialog::OnWidthEdited(const QString& strText)
{
    const QListWidgetItem* pItem = m_pList->currentItem();
    if (!pItem || !pItem->isSelected())
        return;
    // The box keeps what was typed; the width being edited is never below the minimum.
    m_manager.SetEditWidth(pItem->data(ROLE_INDEX).toInt(), ToCString(strText));
}

void CChooseColumnsDialog::MoveSelected(bool bUp)
{
    const int nRow = m_pList->currentRow();
    if (nRow < 0 || !m_pList->item(nRow)->isSelected())
        return;
    std::vector<tagCHOOSECOLUMNITEM> arrItems = GetItems();
    const int nNewRow = CColumnManager::MoveChooseItem(arrItems, nRow, bUp ? TRUE : FALSE);
    if (nNewRow == nRow)
        return;
    const QSignalBlocker blocker(m_pList);
    delete m_pList->takeItem(nRow);
    AddItem(arrItems[static_cast<size_t>(nNewRow)], nNewRow);
    m_pList->setCurrentRow(nNewRow);
    m_pList->scrollToItem(m_pList->item(nNewRow));
    OnSelectionChanged();
}

void CChooseColumnsDialog::accept()
{
    m_manager.EndChooseColumns(GetItems());
    QDialog::accept();
}
