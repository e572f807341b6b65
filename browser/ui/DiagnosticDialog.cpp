#include "browser/ui/DiagnosticDialog.h"

#include "browser/ui/BrowserImages.h"
#include "browser/ui/QtString.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CDiagnosticDialog::CDiagnosticDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("353"));
    setWindowTitle(QStringLiteral("Diagnostic Messages"));
    m_pList = new QTreeWidget(this);
    m_pList->setObjectName(QStringLiteral("1048"));
    m_pList->setColumnCount(1);
    m_pList->setHeaderLabels({QStringLiteral("Message")});
    m_pList->header()->setSectionsClickable(false);
    m_pList->header()->setStretchLastSection(true);
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setSortingEnabled(false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setIconSize(QSize(16, 16));
    m_pList->setTextElideMode(Qt::ElideRight);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* pOk = pButtons->button(QDialogButtonBox::Ok);
    pOk->setText(QStringLiteral("OK"));
    pOk->setObjectName(QStringLiteral("1"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pList);
    pLayout->addWidget(pButtons);
    resize(520, 260);
}

void CDiagnosticDialog::showEvent(QShowEvent* pEvent)
{
    FillList();
    QDialog::showEvent(pEvent);
}

void CDiagnosticDialog::FillList()
{
    m_pList->clear();
    const QIcon icon(BrowserImages::CreateErrorImage());
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(GetMessages().size()));
    for (const CString& strMessage : GetMessages())
    {
        auto* pItem = new QTreeWidgetItem(QStringList(ToQString(strMessage)));
        pItem->setIcon(0, icon);
        pItem->setToolTip(0, ToQString(strMessage));
        items.append(pItem);
    }
    m_pList->addTopLevelItems(items);
    if (QTreeWidgetItem* pFirst = m_pList->topLevelItem(0))
    {
        m_pList->setCurrentItem(pFirst);
        pFirst->setSelected(true);
        m_pList->scrollToItem(pFirst);
    }
}
