// A balloon tip: a small window anchored below a control with an icon, a bold title and a text,
// gone at the next key press or click, or after a while.
#pragma once

#include <QFrame>
#include <QMessageBox>

class CBalloonTip : public QFrame
{
    Q_OBJECT

public:
    // Shows a tip over pAnchor; it deletes itself when it hides. Returns it for tests.
    static CBalloonTip* ShowBalloonTip(QWidget* pAnchor, const QString& strTitle,
                                       const QString& strText, QMessageBox::Icon icon);

    QString GetTitle() const { return m_strTitle; }
    QString GetText() const { return m_strText; }

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    CBalloonTip(QWidget* pAnchor, const QString& strTitle, const QString& strText,
                QMessageBox::Icon icon);

    QString m_strTitle;
    QString m_strText;
};
