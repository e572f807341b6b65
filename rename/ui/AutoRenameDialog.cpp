#include "rename/ui/AutoRenameDialog.h"

#include "browser/FileAssocData.h"
#include "browser/ui/QtString.h"
#include "rename/AutoRename.h"
#include "rename/AutoRenamePreset.h"
#include "rename/ui/AutoRenamePresetListBox.h"
#include "rename/ui/DialogButtons.h"
#include "rename/ui/SpinEdit.h"
#include "rename/ui/TokenMenu.h"
#include "rename/ui/TypedLengthLimit.h"
#include "res/StringTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

// The counter controls: caption, edit and spin ids, range.
struct tagCOUNTERCONTROL
{
    const char* pszCaption;
    const char* pszEditId;
    const char* pszSpinId;
    int nMin;
    int nMax;
};

constexpr tagCOUNTERCONTROL COUNTER_CONTROLS[COUNTER_FIELDS] = {
    {"&Start:", "1074", "1075", PRESET_COUNTER_START_MIN, PRESET_COUNTER_START_MAX},
    {"S&tep:", "1076", "1077", PRESET_COUNTER_STEP_MIN, PRESET_COUNTER_STEP_MAX},
    {"&Leading Zeros: (1-no leading)", "1079", "1080", PRESET_LEADING_ZEROS_MIN,
     PRESET_LEADING_ZEROS_MAX},
};

} // namespace

CAutoRenameDialog::CAutoRenameDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("374"));
    setWindowTitle(QStringLiteral("Auto Rename"));

    auto* pPatternLabel = new QLabel(QStringLiteral("&Rename Format:"), this);
    m_pPattern = new QLineEdit(this);
    m_pPattern->setObjectName(QStringLiteral("1070"));
    m_pPatternLimit = new CTypedLengthLimit(m_pPattern, PRESET_FORMAT_MAX);
    pPatternLabel->setBuddy(m_pPattern);
    m_pTokenButton = new QToolButton(this);
    m_pTokenButton->setObjectName(QStringLiteral("1068"));
    m_pTokenButton->setArrowType(Qt::RightArrow);
    m_pTokenButton->setToolTip(QStringLiteral("Insert a field"));
    m_pTokenButton->setAccessibleName(QStringLiteral("Insert a field"));
    m_pTokenButton->setFocusPolicy(Qt::StrongFocus);
    // A square beside the edit, as tall as it.
    const int nEditHeight = m_pPattern->sizeHint().height();
    m_pTokenButton->setFixedSize(nEditHeight, nEditHeight);
    m_pTokenMenu = CreateTokenMenu(this, QStringLiteral("375"), GetRenameTokens());
    m_pPreviewLabel = new QLabel(QStringLiteral("New name:"), this);
    m_pPreview = new QLabel(this);
    m_pPreview->setObjectName(QStringLiteral("Preview"));
    m_pPreview->setTextFormat(Qt::PlainText);
    m_pPreview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long name is not allowed to widen the dialog.
    m_pPreview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* pCounters = new QGroupBox(QStringLiteral("Co&unter settings"), this);
    auto* pCounterGrid = new QGridLayout(pCounters);
    for (int nField = 0; nField < COUNTER_FIELDS; ++nField)
    {
        const tagCOUNTERCONTROL& control = COUNTER_CONTROLS[nField];
        auto* pLabel = new QLabel(QString::fromLatin1(control.pszCaption), pCounters);
        auto* pSpin = new CSpinEdit(pCounters);
        pSpin->setObjectName(QString::fromLatin1(control.pszSpinId));
        pSpin->SetEditName(QString::fromLatin1(control.pszEditId));
        pSpin->SetRange(control.nMin, control.nMax);
        pLabel->setBuddy(pSpin);
        pCounterGrid->addWidget(pLabel, nField, 0);
        pCounterGrid->addWidget(pSpin, nField, 1, Qt::AlignLeft);
        m_arrCounters[nField] = pSpin;
        connect(pSpin, &CSpinEdit::textChanged, this, &CAutoRenameDialog::UpdatePreview);
    }
    // One width for the three, that of the widest range.
    int nSpinWidth = 0;
    for (const CSpinEdit* pSpin : m_arrCounters)
        nSpinWidth = std::max(nSpinWidth, pSpin->sizeHint().width());
    for (CSpinEdit* pSpin : m_arrCounters)
        pSpin->setMinimumWidth(nSpinWidth);
    m_pReset = new QCheckBox(QStringLiteral("R&eset counter for each directory"), pCounters);
    m_pReset->setObjectName(QStringLiteral("1073"));
    pCounterGrid->addWidget(m_pReset, COUNTER_FIELDS, 0, 1, 2);
    pCounterGrid->setColumnStretch(2, 1);

    m_pPresetList = new CAutoRenamePresetListBox(this);
    m_pPresetList->setObjectName(QStringLiteral("1085"));
    m_pPresetList->SetCaption(QStringLiteral("Presets"));
    m_pAddPreset = new QPushButton(QStringLiteral("&Add to Presets"), this);
    m_pAddPreset->setObjectName(QStringLiteral("1086"));

    const tagOKCANCEL buttons = CreateOkCancel(*this, Qt::Vertical);
    QDialogButtonBox* pButtons = buttons.pBox;
    m_pOK = buttons.pOK;
    QPushButton* pCancel = buttons.pCancel;

    auto* pPatternRow = new QHBoxLayout;
    pPatternRow->setSpacing(2);
    pPatternRow->addWidget(m_pPattern, 1);
    pPatternRow->addWidget(m_pTokenButton);
    auto* pPreviewRow = new QHBoxLayout;
    pPreviewRow->addWidget(m_pPreviewLabel);
    pPreviewRow->addWidget(m_pPreview, 1);
    auto* pAddRow = new QHBoxLayout;
    pAddRow->addWidget(m_pAddPreset);
    pAddRow->addStretch(1);

    auto* pLeft = new QVBoxLayout;
    pLeft->addWidget(pPatternLabel);
    pLeft->addLayout(pPatternRow);
    pLeft->addLayout(pPreviewRow);
    pLeft->addWidget(pCounters);
    pLeft->addWidget(m_pPresetList, 1);
    pLeft->addLayout(pAddRow);
    auto* pLayout = new QHBoxLayout(this);
    pLayout->addLayout(pLeft, 1);
    pLayout->addWidget(pButtons, 0, Qt::AlignTop);

    // The order of the controls in the dialog.
    QWidget* const order[] = {
        m_pPattern, m_pTokenButton, m_arrCounters[0], m_arrCounters[1], m_arrCounters[2],
        m_pReset,   m_pOK,          pCancel,          m_pPresetList,    m_pAddPreset};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_pPattern, &QLineEdit::textChanged, this, &CAutoRenameDialog::OnPatternChanged);
    connect(m_pTokenButton, &QToolButton::pressed, this, &CAutoRenameDialog::OnTokenButton);
    connect(m_pAddPreset, &QPushButton::clicked, this, &CAutoRenameDialog::OnAddToPresets);
    connect(m_pPresetList, &CAutoRenamePresetListBox::presetSelected, this,
            &CAutoRenameDialog::OnPresetSelected);
    resize(460, 440);
}

CAutoRenameDialog::~CAutoRenameDialog() = default;

int CAutoRenameDialog::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CAutoRenameDialog::OnInitDialog()
{
    m_pOK->setEnabled(false);
    m_pAddPreset->setEnabled(false);
    m_pPresetList->FillFromStore(m_pPresets);
    // No row is selected after filling: the defaults stay and the pattern is empty.
    m_arrCounters[COUNTER_START]->SetValue(m_values.nCounterStart);
    m_arrCounters[COUNTER_STEP]->SetValue(m_values.nCounterStep);
    m_arrCounters[COUNTER_LEADING_ZEROS]->SetValue(m_values.nLeadingZeros);
    m_pReset->setChecked(m_values.bResetPerFolder);
    m_pPreviewLabel->setVisible(m_pPreviewRecord != nullptr);
    m_pPreview->setVisible(m_pPreviewRecord != nullptr);
    OnPatternChanged();
    m_pPattern->setFocus();
}

void CAutoRenameDialog::OnPatternChanged()
{
    const bool bPattern = !m_pPattern->text().trimmed().isEmpty();
    m_pOK->setEnabled(bPattern);
    m_pAddPreset->setEnabled(bPattern);
    UpdatePreview();
}

void CAutoRenameDialog::UpdatePreview()
{
    if (!m_pPreviewRecord)
    {
        m_pPreview->clear();
        return;
    }
    // The values as they stand, without messages; what cannot be read yet stays as it was.
    tagCOUNTERVALUES values = m_values;
    const CString arrTexts[COUNTER_FIELDS] = {
        ToCString(m_arrCounters[COUNTER_START]->GetText()),
        ToCString(m_arrCounters[COUNTER_STEP]->GetText()),
        ToCString(m_arrCounters[COUNTER_LEADING_ZEROS]->GetText())};
    ReadCounterValues(arrTexts, m_pReset->isChecked(), values);
    tagPRESETDATA preset;
    QString strPreview;
    if (m_pPattern->text().trimmed().isEmpty())
        strPreview.clear();
    else if (CheckPattern(ToCString(m_pPattern->text()), values, &preset) != EPatternCheck::Valid)
        strPreview = QStringLiteral("(not a valid rename format)");
    else
    {
        // The first selected file takes the first counter value.
        CString strName;
        FormatName(strName, *m_pPreviewRecord, GetPresetFormat(preset), preset.nCounterStart,
                   preset.nLeadingZeros);
        strPreview = ToQString(strName);
    }
    m_pPreview->setText(strPreview);
    m_pPreview->setToolTip(strPreview);
}

void CAutoRenameDialog::OnTokenButton()
{
    // The menu opens to the right of the button, which stays pressed meanwhile.
    m_pTokenButton->setDown(true);
    const QAction* pChosen =
        m_pTokenMenu->exec(m_pTokenButton->mapToGlobal(QPoint(m_pTokenButton->width(), 0)));
    m_pTokenButton->setDown(false);
    const char16_t* pszToken = pChosen ? FindRenameToken(pChosen->data().toUInt()) : nullptr;
    if (pszToken)
        InsertPatternToken(ToQString(CString(pszToken)));
    m_pPattern->setFocus();
}

void CAutoRenameDialog::InsertPatternToken(const QString& strToken)
{
    // The edit keeps its selection while the button or the menu has the focus.
    const bool bSelection = m_pPattern->hasSelectedText();
    const int nStart = bSelection ? m_pPattern->selectionStart() : m_pPattern->cursorPosition();
    const int nEnd = bSelection ? m_pPattern->selectionEnd() : nStart;
    int nCaret = 0;
    const CString strText =
        InsertToken(ToCString(m_pPattern->text()), nStart, nEnd, ToCString(strToken), &nCaret);
    m_pPatternLimit->SetText(ToQString(strText), nCaret);
}

void CAutoRenameDialog::OnPresetSelected()
{
    const tagPRESETDATA* pPreset = m_pPresetList->GetSelectedPreset();
    if (!pPreset)
        return;
    m_values.nCounterStart = pPreset->nCounterStart;
    m_values.nCounterStep = pPreset->nCounterStep;
    m_values.nLeadingZeros = pPreset->nLeadingZeros;
    m_values.bResetPerFolder = pPreset->bResetPerFolder ? TRUE : FALSE;
    m_arrCounters[COUNTER_START]->SetValue(m_values.nCounterStart);
    m_arrCounters[COUNTER_STEP]->SetValue(m_values.nCounterStep);
    m_arrCounters[COUNTER_LEADING_ZEROS]->SetValue(m_values.nLeadingZeros);
    m_pReset->setChecked(m_values.bResetPerFolder);
    const QString strPattern = ToQString(GetPresetFormat(*pPreset));
    m_pPatternLimit->SetText(strPattern);
}

void CAutoRenameDialog::ShowMessage(const CString& strText)
{
    QMessageBox box(QMessageBox::Warning, ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                    ToQString(strText), QMessageBox::Ok, this);
    box.exec();
}

BOOL CAutoRenameDialog::ReadPreset(tagPRESETDATA& preset)
{
    const CString arrTexts[COUNTER_FIELDS] = {
        ToCString(m_arrCounters[COUNTER_START]->GetText()),
        ToCString(m_arrCounters[COUNTER_STEP]->GetText()),
        ToCString(m_arrCounters[COUNTER_LEADING_ZEROS]->GetText())};
    const tagCOUNTERREAD read = ReadCounterValues(arrTexts, m_pReset->isChecked(), m_values);
    if (read.nFailedField >= 0)
    {
        // As a bound field that cannot be read: its message, then the field selected. The
        // check below runs all the same, with the values as they now stand.
        ShowMessage(read.strMessage);
        m_arrCounters[read.nFailedField]->setFocus();
        m_arrCounters[read.nFailedField]->selectAll();
    }

    switch (CheckPattern(ToCString(m_pPattern->text()), m_values, &preset))
    {
    case EPatternCheck::Valid:
        return TRUE;
    case EPatternCheck::TooLong:
        ShowMessage(Res::LoadResourceString(Res::IDS_RENAME_FORMAT_TOO_LONG));
        break;
    case EPatternCheck::Invalid:
        ShowMessage(Res::LoadResourceString(Res::IDS_INVALID_RENAME_FORMAT));
        break;
    }
    m_pPattern->setFocus();
    m_pPattern->selectAll();
    return FALSE;
}

void CAutoRenameDialog::OnOK()
{
    tagPRESETDATA preset;
    if (!ReadPreset(preset))
        return;
    m_preset = preset;
    QDialog::accept();
}

void CAutoRenameDialog::accept()
{
    // Return reaches a disabled default button too.
    if (m_pOK->isEnabled())
        OnOK();
}

void CAutoRenameDialog::OnAddToPresets()
{
    tagPRESETDATA preset;
    if (!ReadPreset(preset))
        return;
    if (m_pPresetList->GetCount() >= CAutoRenamePreset::MAX_PRESETS)
    {
        ShowMessage(Res::LoadResourceString(Res::IDS_TOO_MANY_PRESETS));
        return;
    }
    if (!m_pPresets || m_pPresets->IsFull())
        return;
    m_pPresetList->AddPreset(preset);
}
