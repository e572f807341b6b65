// CSpinEdit: an edit for a number with up and down arrows beside it, as an edit with a buddy
// spin control works. The edit takes typed digits only; the arrows, the arrow keys and the
// wheel step the number within the range. Unlike a spin box it keeps what was typed, even an
// empty or out-of-range text, so that the dialog reads and judges the text itself.
#pragma once

#include <QAbstractSpinBox>

class CSpinEdit : public QAbstractSpinBox
{
    Q_OBJECT

public:
    explicit CSpinEdit(QWidget* pParent = nullptr);

    // The range of the arrows.
    void SetRange(int nMin, int nMax);
    // The name of the edit inside, so that it can be found by its control id.
    void SetEditName(const QString& strName);

    QString GetText() const;
    void SetText(const QString& strText);
    void SetValue(int nValue);

    void stepBy(int nSteps) override;
    QValidator::State validate(QString& strInput, int& nPos) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The text changed, typed or stepped.
    void textChanged(const QString& strText);

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_nMin = 0;
    int m_nMax = 99;
};
