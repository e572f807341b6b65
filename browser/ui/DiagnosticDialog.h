// CDiagnosticDialog: the collector of problem lines of a bulk operation and the modal list that
// shows them, one row per message with the error mark, the first row selected.
#pragma once

#include "browser/DiagnosticMessages.h"

#include <QDialog>

class QTreeWidget;

class CDiagnosticDialog : public QDialog, public CDiagnosticMessages
{
    Q_OBJECT

public:
    explicit CDiagnosticDialog(QWidget* pParent = nullptr);

    // The message list (filled when the dialog is shown).
    QTreeWidget* GetList() const { return m_pList; }

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void FillList();

    QTreeWidget* m_pList = nullptr;
};
