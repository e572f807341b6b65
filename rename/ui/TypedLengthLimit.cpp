#include "rename/ui/TypedLengthLimit.h"

#include <QLineEdit>

#include <algorithm>

CTypedLengthLimit::CTypedLengthLimit(QLineEdit* pEdit, int nMaxLength)
    : QValidator(pEdit), m_pEdit(pEdit), m_nMaxLength(nMaxLength)
{
    m_nLength = pEdit->text().size();
    pEdit->setValidator(this);
    connect(pEdit, &QLineEdit::textChanged, this,
            [this](const QString& strText) { m_nLength = strText.size(); });
}

void CTypedLengthLimit::SetText(const QString& strText, int nCaret)
{
    if (!m_pEdit)
        return;
    m_bSetting = true;
    m_pEdit->setText(strText);
    m_bSetting = false;
    if (nCaret >= 0)
        m_pEdit->setCursorPosition(nCaret);
}

QValidator::State CTypedLengthLimit::validate(QString& strInput, int& nPos) const
{
    // What was typed or pasted is cut at the limit, at the end of the inserted run (which ends
    // at the caret); a text already over the limit may shrink but not grow.
    if (m_bSetting || strInput.size() <= m_nMaxLength || strInput.size() <= m_nLength)
        return Acceptable;
    qsizetype nExcess = strInput.size() - std::max<qsizetype>(m_nMaxLength, m_nLength);
    qsizetype nCut = std::clamp<qsizetype>(nPos, nExcess, strInput.size()) - nExcess;
    // A pair of surrogates is kept or dropped whole.
    if (nCut > 0 && strInput.at(nCut - 1).isHighSurrogate())
    {
        --nCut;
        ++nExcess;
    }
    strInput.remove(nCut, nExcess);
    nPos = static_cast<int>(nCut);
    return Acceptable;
}
