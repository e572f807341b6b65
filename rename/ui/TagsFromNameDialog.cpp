#include "rename/ui/TagsFromNameDialog.h"

#include "base/Path.h"
#include "browser/ui/QtString.h"
#include "rename/PatternInput.h"
#include "rename/TagsFromName.h"
#include "rename/ui/DialogButtons.h"
#include "rename/ui/RenameImages.h"
#include "rename/ui/TokenMenu.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace
{

// The preview's field columns after the file name, in their order.
constexpr std::array<ENameToken, NAME_FIELD_COUNT> FIELD_COLUMNS = {
    NAME_TITLE, NAME_ARTIST, NAME_ALBUM, NAME_TRACK, NAME_YEAR, NAME_GENRE};

QString GetCheckText(ENamePatternCheck check)
{
    switch (check)
    {
    case ENamePatternCheck::Empty:
        return QStringLiteral("Type a pattern, such as <track> - <artist> - <title>.");
    case ENamePatternCheck::UnknownToken:
        return QStringLiteral("The pattern holds a field the menu does not offer.");
    case ENamePatternCheck::NoField:
        return QStringLiteral("The pattern needs a field other than <skip>.");
    case ENamePatternCheck::AdjacentTokens:
        return QStringLiteral("Two fields need some text between them.");
    case ENamePatternCheck::EmptyLevel:
        return QStringLiteral("A folder level of the pattern is empty.");
    case ENamePatternCheck::Valid:
        break;
    }
    return QString();
}

} // namespace

CTagsFromNameDialog::CTagsFromNameDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("TagsFromName"));
    setWindowTitle(QStringLiteral("Tags from File Name"));

    auto* pPatternLabel = new QLabel(QStringLiteral("&Pattern:"), this);
    m_pPattern = new QComboBox(this);
    m_pPattern->setObjectName(QStringLiteral("Pattern"));
    m_pPattern->setEditable(true);
    // The list is the recent patterns only; OK puts the one used first.
    m_pPattern->setInsertPolicy(QComboBox::NoInsert);
    m_pPattern->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    pPatternLabel->setBuddy(m_pPattern);
    m_pTokenButton = new QToolButton(this);
    m_pTokenButton->setObjectName(QStringLiteral("Tokens"));
    m_pTokenButton->setText(QStringLiteral("&Insert"));
    m_pTokenButton->setToolTip(QStringLiteral("Insert a field"));
    m_pTokenButton->setAccessibleName(QStringLiteral("Insert a field"));
    // A click leaves the focus, and so the selection the token replaces, in the pattern.
    m_pTokenButton->setFocusPolicy(Qt::TabFocus);
    m_pTokenButton->setFixedHeight(m_pPattern->sizeHint().height());
    m_pTokenMenu = CreateTokenMenu(this, QStringLiteral("TokenMenu"), GetNameTokens());
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("Status"));
    m_pStatus->setTextFormat(Qt::PlainText);

    auto* pPreviewLabel = new QLabel(QStringLiteral("&Files:"), this);
    m_pModel = new QStandardItemModel(0, 1 + NAME_FIELD_COUNT, this);
    m_pModel->setHorizontalHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Title"),
                                         QStringLiteral("Artist"), QStringLiteral("Album"),
                                         QStringLiteral("Track"), QStringLiteral("Year"),
                                         QStringLiteral("Genre")});
    m_pPreview = new QTreeView(this);
    m_pPreview->setObjectName(QStringLiteral("Preview"));
    m_pPreview->setModel(m_pModel);
    m_pPreview->setRootIsDecorated(false);
    m_pPreview->setUniformRowHeights(true);
    m_pPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pPreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pPreview->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pPreview->setAllColumnsShowFocus(true);
    m_pPreview->header()->setStretchLastSection(true);
    pPreviewLabel->setBuddy(m_pPreview);

    const tagOKCANCEL buttons = CreateOkCancel(*this);
    QDialogButtonBox* pButtons = buttons.pBox;
    m_pOK = buttons.pOK;
    QPushButton* pCancel = buttons.pCancel;

    auto* pPatternRow = new QHBoxLayout;
    pPatternRow->setSpacing(2);
    pPatternRow->addWidget(m_pPattern, 1);
    pPatternRow->addWidget(m_pTokenButton);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pPatternLabel);
    pLayout->addLayout(pPatternRow);
    pLayout->addWidget(m_pStatus);
    pLayout->addWidget(pPreviewLabel);
    pLayout->addWidget(m_pPreview, 1);
    pLayout->addWidget(pButtons);

    QWidget* const order[] = {m_pPattern, m_pTokenButton, m_pPreview, m_pOK, pCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_pPattern, &QComboBox::editTextChanged, this, &CTagsFromNameDialog::OnPatternChanged);
    connect(m_pTokenButton, &QToolButton::pressed, this, &CTagsFromNameDialog::OnTokenButton);
    resize(760, 400);
}

CTagsFromNameDialog::~CTagsFromNameDialog() = default;

int CTagsFromNameDialog::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CTagsFromNameDialog::OnInitDialog()
{
    m_pModel->removeRows(0, m_pModel->rowCount());
    for (const CString& strPath : m_files)
    {
        QList<QStandardItem*> row;
        auto* pName = new QStandardItem(ToQString(Path::GetName(strPath)));
        pName->setToolTip(ToQString(strPath));
        row.append(pName);
        for (int i = 0; i < NAME_FIELD_COUNT; ++i)
            row.append(new QStandardItem);
        m_pModel->appendRow(row);
    }
    {
        const QSignalBlocker blocker(m_pPattern);
        m_pPattern->clear();
        for (const CString& strPattern : m_arrRecent)
            m_pPattern->addItem(ToQString(strPattern));
        m_pPattern->setCurrentIndex(m_arrRecent.empty() ? -1 : 0);
        m_pPattern->setEditText(m_arrRecent.empty() ? QString() : ToQString(m_arrRecent.front()));
    }
    OnPatternChanged();
    // Widths that show the usual values whole and keep Genre in view: short numbers narrow,
    // a long file name not taking the whole width.
    m_pPreview->resizeColumnToContents(0);
    m_pPreview->setColumnWidth(0, std::min(m_pPreview->columnWidth(0), 240));
    constexpr int COLUMN_WIDTHS[NAME_FIELD_COUNT - 1] = {140, 100, 100, 50, 50};
    for (int i = 0; i < NAME_FIELD_COUNT - 1; ++i)
        m_pPreview->setColumnWidth(i + 1, COLUMN_WIDTHS[i]);
    m_pPattern->setFocus();
    m_pPattern->lineEdit()->selectAll();
}

void CTagsFromNameDialog::OnPatternChanged()
{
    const CNamePattern pattern(ToCString(m_pPattern->currentText()));
    const int nMatching = UpdatePreview(pattern);
    if (pattern.IsValid())
        m_pStatus->setText(
            QStringLiteral("%1 of %2 files match the pattern.").arg(nMatching).arg(m_files.size()));
    else
        m_pStatus->setText(GetCheckText(pattern.GetCheck()));
    m_pOK->setEnabled(pattern.IsValid() && nMatching > 0);
}

int CTagsFromNameDialog::UpdatePreview(const CNamePattern& pattern)
{
    const bool bValid = pattern.IsValid() != FALSE;
    const QIcon matchIcon = RenameImages::CreateImage(RENAME_IMAGE_READY);
    const QIcon otherIcon = RenameImages::CreateImage(RENAME_IMAGE_PARTIAL);
    // Without a valid pattern the rows keep their place for the marks.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    const QIcon noIcon(blank);
    const QBrush greyed = palette().brush(QPalette::Disabled, QPalette::Text);
    int nMatching = 0;
    for (int nRow = 0; nRow < m_pModel->rowCount() && static_cast<size_t>(nRow) < m_files.size();
         ++nRow)
    {
        tagNAMEFIELDS fields;
        const bool bMatch = bValid && pattern.Match(m_files[static_cast<size_t>(nRow)], fields);
        nMatching += bMatch ? 1 : 0;
        QStandardItem* pName = m_pModel->item(nRow, 0);
        pName->setIcon(!bValid ? noIcon : bMatch ? matchIcon : otherIcon);
        for (int nColumn = 0; nColumn <= NAME_FIELD_COUNT; ++nColumn)
        {
            QStandardItem* pItem = m_pModel->item(nRow, nColumn);
            if (bValid && !bMatch)
                pItem->setForeground(greyed);
            else
                pItem->setData(QVariant(), Qt::ForegroundRole);
            if (nColumn == 0)
                continue;
            const ENameToken token = FIELD_COLUMNS[static_cast<size_t>(nColumn - 1)];
            if (bValid && !bMatch)
                pItem->setText(nColumn == 1 ? QStringLiteral("(does not match)") : QString());
            else
                pItem->setText(ToQString(fields.Get(token)));
        }
    }
    return nMatching;
}

void CTagsFromNameDialog::OnTokenButton()
{
    // The menu opens below the button, which stays pressed meanwhile.
    m_pTokenButton->setDown(true);
    const QAction* pChosen =
        m_pTokenMenu->exec(m_pTokenButton->mapToGlobal(QPoint(0, m_pTokenButton->height())));
    m_pTokenButton->setDown(false);
    const char16_t* pszToken = pChosen ? FindNameToken(pChosen->data().toUInt()) : nullptr;
    if (pszToken)
        InsertPatternToken(ToQString(CString(pszToken)));
    m_pPattern->setFocus();
}

void CTagsFromNameDialog::InsertPatternToken(const QString& strToken)
{
    // The edit keeps its selection while the button or the menu has the focus.
    QLineEdit* pEdit = m_pPattern->lineEdit();
    const bool bSelection = pEdit->hasSelectedText();
    const int nStart = bSelection ? pEdit->selectionStart() : pEdit->cursorPosition();
    const int nEnd = bSelection ? pEdit->selectionEnd() : nStart;
    int nCaret = 0;
    const CString strText =
        InsertToken(ToCString(pEdit->text()), nStart, nEnd, ToCString(strToken), &nCaret);
    pEdit->setText(ToQString(strText));
    pEdit->setCursorPosition(nCaret);
}

void CTagsFromNameDialog::OnOK()
{
    CString strPattern = ToCString(m_pPattern->currentText());
    strPattern.Trim();
    m_strPattern = strPattern;
    QDialog::accept();
}

void CTagsFromNameDialog::accept()
{
    // Return reaches a disabled default button too.
    if (m_pOK->isEnabled())
        OnOK();
}
