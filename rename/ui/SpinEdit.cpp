#include "rename/ui/SpinEdit.h"

#include <QLineEdit>

#include <algorithm>

CSpinEdit::CSpinEdit(QWidget* pParent) : QAbstractSpinBox(pParent)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &CSpinEdit::textChanged);
}

void CSpinEdit::SetRange(int nMin, int nMax)
{
    m_nMin = nMin;
    m_nMax = std::max(nMin, nMax);
    updateGeometry();
}

void CSpinEdit::SetEditName(const QString& strName)
{
    lineEdit()->setObjectName(strName);
}

QString CSpinEdit::GetText() const
{
    return lineEdit()->text();
}

void CSpinEdit::SetText(const QString& strText)
{
    lineEdit()->setText(strText);
}

void CSpinEdit::SetValue(int nValue)
{
    SetText(QString::number(nValue));
}

void CSpinEdit::stepBy(int nSteps)
{
    // A text that is no number steps from the bottom of the range; the result stays in it.
    bool bOk = false;
    const qint64 nValue = GetText().trimmed().toLongLong(&bOk);
    const qint64 nFrom = bOk ? std::clamp<qint64>(nValue, m_nMin, m_nMax) : m_nMin;
    SetValue(static_cast<int>(std::clamp<qint64>(nFrom + nSteps, m_nMin, m_nMax)));
    selectAll();
}

QValidator::State CSpinEdit::validate(QString& strInput, int&) const
{
    // Digits only, as typed into a number edit; the empty text is allowed while typing.
    for (const QChar ch : strInput)
    {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled CSpinEdit::stepEnabled() const
{
    bool bOk = false;
    const qint64 nValue = GetText().trimmed().toLongLong(&bOk);
    if (!bOk)
        return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (nValue < m_nMax)
        enabled |= StepUpEnabled;
    if (nValue > m_nMin)
        enabled |= StepDownEnabled;
    return enabled;
}

QSize CSpinEdit::sizeHint() const
{
    // Room for the largest number of the range besides what the frame and arrows take.
    QSize size = QAbstractSpinBox::sizeHint();
    size.rwidth() += fontMetrics().horizontalAdvance(QString::number(m_nMax));
    return size;
}

QSize CSpinEdit::minimumSizeHint() const
{
    return sizeHint();
}
