#include "browser/ui/LabelEditDelegate.h"

#include <QLineEdit>

CLabelEditDelegate::CLabelEditDelegate(EndEdit endEdit, QObject* pParent)
    : QStyledItemDelegate(pParent), m_endEdit(std::move(endEdit))
{
}

QWidget* CLabelEditDelegate::createEditor(QWidget* pParent, const QStyleOptionViewItem&,
                                          const QModelIndex&) const
{
    auto* pEdit = new QLineEdit(pParent);
    pEdit->setFrame(true);
    pEdit->setObjectName(QStringLiteral("LabelEdit"));
    m_pEditor = pEdit;
    return pEdit;
}

void CLabelEditDelegate::setEditorData(QWidget* pEditor, const QModelIndex& index) const
{
    auto* pEdit = qobject_cast<QLineEdit*>(pEditor);
    if (!pEdit)
        return;
    pEdit->setText(index.data(Qt::EditRole).toString());
    SelectName(*pEdit);
}

void CLabelEditDelegate::setModelData(QWidget* pEditor, QAbstractItemModel*,
                                      const QModelIndex& index) const
{
    auto* pEdit = qobject_cast<QLineEdit*>(pEditor);
    if (pEdit && m_endEdit)
        m_endEdit(index.row(), pEdit->text());
}

void CLabelEditDelegate::SelectName(QLineEdit& edit)
{
    const QString strText = edit.text();
    const qsizetype nDot = strText.lastIndexOf(QLatin1Char('.'));
    if (nDot < 0)
        edit.selectAll();
    else
        edit.setSelection(0, static_cast<int>(nDot));
}
