#include "editor/ui/PresetDialog.h"

#include "browser/ui/QtString.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CPresetDialog::CPresetDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("337"));
    setWindowTitle(QStringLiteral("Preset"));

    // One column, no header, whole rows selected: the list view of a report without columns.
    m_pList = new QTreeWidget(this);
    m_pList->setObjectName(QStringLiteral("1025"));
    m_pList->setColumnCount(1);
    m_pList->setHeaderHidden(true);
    m_pList->setRootIsDecorated(false);
    m_pList->setItemsExpandable(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The column takes the list's width less its scroll bar.
    m_pList->header()->setStretchLastSection(true);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    pButtons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &CPresetDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CPresetDialog::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pList, 1);
    pLayout->addWidget(pButtons);
    // 191 x 209 dialog units.
    resize(287, 340);
}

int CPresetDialog::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CPresetDialog::OnInitDialog()
{
    setWindowTitle(ToQString(m_strCaption));
    m_pList->clear();
    QList<QTreeWidgetItem*> arrItems;
    for (const char16_t* pszValue : m_pValues)
    {
        if (!pszValue)
            break;
        arrItems.append(new QTreeWidgetItem(QStringList(ToQString(CString(pszValue)))));
    }
    m_pList->addTopLevelItems(arrItems);
    m_pList->setFocus();
}

void CPresetDialog::OnOK()
{
    const QList<QTreeWidgetItem*> arrSelected = m_pList->selectedItems();
    m_strSelected = arrSelected.isEmpty() ? CString() : ToCString(arrSelected.first()->text(0));
    QDialog::accept();
}

void CPresetDialog::accept()
{
    OnOK();
}
