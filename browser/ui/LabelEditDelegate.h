// CLabelEditDelegate: the in-place editing of an item's label. The edit box starts with the name
// selected up to its last dot, so typing replaces the name and keeps the extension; the typed
// text goes to the owner instead of the model.
#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

#include <QLineEdit>

class CLabelEditDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Called with the row and the text when an edit ends with a commit (not when cancelled).
    using EndEdit = std::function<void(int nRow, const QString& strText)>;

    CLabelEditDelegate(EndEdit endEdit, QObject* pParent);

    QWidget* createEditor(QWidget* pParent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* pEditor, const QModelIndex& index) const override;
    void setModelData(QWidget* pEditor, QAbstractItemModel* pModel,
                      const QModelIndex& index) const override;

    // The open edit box, if any.
    QLineEdit* GetEditor() const { return m_pEditor; }
    // Selects the name up to its last dot (all of it without a dot).
    static void SelectName(QLineEdit& edit);

private:
    EndEdit m_endEdit;
    mutable QPointer<QLineEdit> m_pEditor;
};
