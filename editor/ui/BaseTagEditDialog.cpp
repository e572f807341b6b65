#include "editor/ui/BaseTagEditDialog.h"

#include "browser/ui/QtString.h"
#include "editor/AddMenu.h"
#include "editor/FrameRows.h"
#include "editor/ui/BalloonTip.h"
#include "editor/ui/FrameDialogFactory.h"
#include "res/StringTable.h"
#include "tags/id3v1/ID3v1Genres.h"
#include "tags/id3v2/ID3v2Frame.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QTreeWidget>

namespace
{

struct tagFIELDCONTROL
{
    const char* pszLabel;
    const char* pszEditId;
    const char* pszButtonId;
};

// In the order of ID3V1_FIELD.
constexpr tagFIELDCONTROL FIELD_CONTROLS[ID3V1_FIELD_COUNT] = {
    {"&Title:", "1010", "1038"},   {"A&lbum:", "1029", "1039"}, {"Art&ist:", "1030", "1040"},
    {"&Genre:", "1034", "1041"},   {"&Year:", "1031", "1043"},  {"Trac&k:", "1033", "1042"},
    {"Co&mment:", "1032", "1044"},
};

constexpr int ROW_DATA = Qt::UserRole;

} // namespace

CBaseTagEditDialog::CBaseTagEditDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("310"));
    setWindowTitle(QStringLiteral("Tags"));

    auto* pFields = new QGroupBox(QStringLiteral("ID3v&1"), this);
    auto* pGrid = new QGridLayout(pFields);
    CreateFieldControls(pGrid);

    auto* pFrames = new QGroupBox(QStringLiteral("ID3v&2"), this);
    CreateFrameControls(pFrames);

    auto* pOptions = new QPushButton(QStringLiteral("Options..."), this);
    pOptions->setObjectName(QStringLiteral("6"));
    pOptions->setAutoDefault(false);
    connect(pOptions, &QPushButton::clicked, this,
            [this]
            {
                if (m_onOptions)
                    m_onOptions(this);
            });
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    pButtons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pLine = new QFrame(this);
    pLine->setFrameShape(QFrame::HLine);
    pLine->setFrameShadow(QFrame::Sunken);
    auto* pBottom = new QHBoxLayout;
    pBottom->addWidget(pOptions);
    pBottom->addStretch(1);
    pBottom->addWidget(pButtons);
    auto* pHalves = new QHBoxLayout;
    pHalves->addWidget(pFields, 2);
    pHalves->addWidget(pFrames, 3);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pHalves, 1);
    pLayout->addWidget(pLine);
    pLayout->addLayout(pBottom);
    resize(880, 400);
    m_fieldCommands.fill(0);
}

CBaseTagEditDialog::~CBaseTagEditDialog() = default;

void CBaseTagEditDialog::CreateFieldControls(QGridLayout* pGrid)
{
    QWidget* pParent = pGrid->parentWidget();
    for (int n = 0; n < ID3V1_FIELD_COUNT; ++n)
    {
        const auto field = static_cast<ID3V1_FIELD>(n);
        const tagFIELDCONTROL& control = FIELD_CONTROLS[n];
        auto* pLabel = new QLabel(QString::fromUtf8(control.pszLabel), pParent);
        QWidget* pControl = nullptr;
        if (field == FIELD_GENRE)
        {
            m_pGenre = new QComboBox(pParent);
            for (const char16_t* pszGenre : Tags::ID3v1Tag::ID3v1Genres)
                m_pGenre->addItem(QString::fromUtf16(pszGenre));
            m_pGenre->setCurrentIndex(-1);
            m_pGenre->setMaxVisibleItems(20);
            pControl = m_pGenre;
        }
        else
        {
            auto* pEdit = new QLineEdit(pParent);
            // The limits hold for typing only: texts the program sets may be longer.
            const int nLimit = GetFieldTextLimit(field);
            const bool bDigits = field == FIELD_YEAR || field == FIELD_TRACK;
            const QString strPattern =
                QStringLiteral("%1{0,%2}")
                    .arg(bDigits ? QStringLiteral("[0-9]") : QStringLiteral("."))
                    .arg(nLimit);
            pEdit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(strPattern), pEdit));
            if (bDigits)
                pEdit->setAlignment(Qt::AlignRight);
            m_pEdits[n] = pEdit;
            pControl = pEdit;
        }
        pControl->setObjectName(QString::fromLatin1(control.pszEditId));
        pLabel->setBuddy(pControl);

        auto* pButton = new QToolButton(pParent);
        pButton->setObjectName(QString::fromLatin1(control.pszButtonId));
        pButton->setArrowType(Qt::DownArrow);
        pButton->setPopupMode(QToolButton::InstantPopup);
        pButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
        // The arrow is the button's face; the style's menu mark beside it would repeat it.
        pButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
        pButton->setAccessibleName(pLabel->text().remove(QLatin1Char('&')));
        m_pFieldMenus[n] = CreateFieldMenu(field);
        pButton->setMenu(m_pFieldMenus[n]);
        m_pFieldButtons[n] = pButton;

        pGrid->addWidget(pLabel, n, 0);
        pGrid->addWidget(pControl, n, 1);
        pGrid->addWidget(pButton, n, 2);
    }
    pGrid->setRowStretch(ID3V1_FIELD_COUNT, 1);
}

QMenu* CBaseTagEditDialog::CreateFieldMenu(ID3V1_FIELD field)
{
    auto* pMenu = new QMenu(this);
    pMenu->setObjectName(QStringLiteral("347"));
    const auto add = [this, pMenu, field](const QString& strText, UINT nID)
    {
        QAction* pAction = pMenu->addAction(strText);
        pAction->setData(nID);
        connect(pAction, &QAction::triggered, this,
                [this, field, nID]
                {
                    m_fieldCommands[field] = nID;
                    OnFieldMenu(field);
                });
    };
    add(QStringLiteral("Copy from ID3v2"), FieldMenu::ID_COPY_FROM_ID3V2);
    pMenu->addSeparator();
    add(QStringLiteral("&Keep"), FieldMenu::ID_KEEP);
    return pMenu;
}

void CBaseTagEditDialog::CreateFrameControls(QGroupBox* pGroup)
{
    m_pFrameList = new QTreeWidget(pGroup);
    m_pFrameList->setObjectName(QStringLiteral("1009"));
    m_pFrameList->setColumnCount(2);
    m_pFrameList->setHeaderHidden(true);
    m_pFrameList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pFrameList->setAllColumnsShowFocus(true);
    // 110 pixels for the text, as wide as the rows are indented under their group.
    m_pFrameList->setColumnWidth(0, 110 + m_pFrameList->indentation());
    m_pFrameList->header()->setStretchLastSection(true);
    for (int nGroup = 1; nGroup <= FRAME_GROUP_COUNT; ++nGroup)
    {
        auto* pHeader = new QTreeWidgetItem(m_pFrameList, {ToQString(GetFrameGroupHeader(nGroup))});
        pHeader->setFirstColumnSpanned(true);
        pHeader->setFlags(Qt::ItemIsEnabled);
        QFont font = pHeader->font(0);
        font.setBold(true);
        pHeader->setFont(0, font);
        pHeader->setExpanded(true);
        pHeader->setHidden(true);
    }
    m_pFrameList->installEventFilter(this);
    connect(m_pFrameList, &QTreeWidget::itemSelectionChanged, this,
            &CBaseTagEditDialog::UpdateButtons);
    connect(m_pFrameList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* pItem)
            {
                if (pItem && pItem->parent())
                    OnEditFrame();
            });

    m_pAdd = new QToolButton(pGroup);
    m_pAdd->setObjectName(QStringLiteral("3"));
    m_pAdd->setText(QStringLiteral("&Add"));
    m_pAdd->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    m_pAdd->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_pAdd->setPopupMode(QToolButton::InstantPopup);
    m_pAdd->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_pAddMenu = new QMenu(m_pAdd);
    const tagADDMENU menu = BuildAddMenu();
    const auto addEntries = [this](QMenu* pMenu, const std::vector<tagADDMENUITEM>& arrItems)
    {
        for (const tagADDMENUITEM& item : arrItems)
        {
            if (item.bSeparator)
            {
                pMenu->addSeparator();
                continue;
            }
            QAction* pAction = pMenu->addAction(ToQString(item.strText));
            const int nCommand = item.nCommand;
            pAction->setData(nCommand);
            connect(pAction, &QAction::triggered, this, [this, nCommand] { OnAddFrame(nCommand); });
        }
    };
    addEntries(m_pAddMenu, menu.arrTop);
    addEntries(m_pAddMenu->addMenu(ToQString(menu.strAllCaption)), menu.arrAll);
    m_pAdd->setMenu(m_pAddMenu);

    m_pEdit = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                              QStringLiteral("&Edit..."), pGroup);
    m_pEdit->setObjectName(QStringLiteral("4"));
    m_pRemove = new QPushButton(style()->standardIcon(QStyle::SP_TrashIcon),
                                QStringLiteral("&Remove"), pGroup);
    m_pRemove->setObjectName(QStringLiteral("5"));
    m_pKeep = new QPushButton(QStringLiteral("&Keep"), pGroup);
    m_pKeep->setObjectName(QStringLiteral("7"));
    for (QPushButton* pButton : {m_pEdit, m_pRemove, m_pKeep})
    {
        pButton->setAutoDefault(false);
        pButton->setEnabled(false);
    }
    connect(m_pEdit, &QPushButton::clicked, this, [this] { OnEditFrame(); });
    connect(m_pRemove, &QPushButton::clicked, this, [this] { OnRemoveFrame(); });
    connect(m_pKeep, &QPushButton::clicked, this, [this] { OnKeepFrame(); });

    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(m_pAdd);
    pButtons->addWidget(m_pEdit);
    pButtons->addWidget(m_pRemove);
    pButtons->addWidget(m_pKeep);
    pButtons->addStretch(1);
    auto* pLayout = new QHBoxLayout(pGroup);
    pLayout->addWidget(m_pFrameList, 1);
    pLayout->addLayout(pButtons);
}

QToolButton* CBaseTagEditDialog::GetFieldButton(ID3V1_FIELD field) const
{
    return m_pFieldButtons[field];
}

void* CBaseTagEditDialog::GetItemData(const QTreeWidgetItem* pItem)
{
    if (!pItem || !pItem->parent())
        return nullptr;
    return reinterpret_cast<void*>(pItem->data(0, ROW_DATA).value<quintptr>());
}

// --- The concrete editors' operations: nothing here ---

void CBaseTagEditDialog::OnAddFrame(int) {}
void CBaseTagEditDialog::OnEditFrame() {}
void CBaseTagEditDialog::OnRemoveFrame() {}
void CBaseTagEditDialog::OnKeepFrame() {}
void CBaseTagEditDialog::OnFieldMenu(ID3V1_FIELD) {}

void CBaseTagEditDialog::OnOK()
{
    QDialog::accept();
}

void CBaseTagEditDialog::accept()
{
    OnOK();
}

// --- Shared operations ---

void CBaseTagEditDialog::UpdateData(BOOL bSaveAndValidate)
{
    for (int n = 0; n < ID3V1_FIELD_COUNT; ++n)
    {
        CString* pText = GetFieldText(static_cast<ID3V1_FIELD>(n), m_values);
        if (!pText)
            continue;
        if (bSaveAndValidate)
            *pText = ToCString(m_pEdits[n]->text());
        else
            m_pEdits[n]->setText(ToQString(*pText));
    }
    if (bSaveAndValidate)
        m_values.nGenre = m_pGenre->currentIndex();
    else
        m_pGenre->setCurrentIndex(
            m_values.nGenre >= 0 && m_values.nGenre < m_pGenre->count() ? m_values.nGenre : -1);
}

BOOL CBaseTagEditDialog::CheckTrackNumber(int& nTrack)
{
    if (::CheckTrackNumber(m_values.strTrack, nTrack))
        return TRUE;
    QLineEdit* pTrack = m_pEdits[FIELD_TRACK];
    pTrack->setFocus(Qt::OtherFocusReason);
    CBalloonTip::ShowBalloonTip(pTrack, QStringLiteral("Invalid value"),
                                ToQString(Res::LoadResourceString(Res::IDS_TRACK_RANGE)),
                                QMessageBox::Warning);
    return FALSE;
}

BOOL CBaseTagEditDialog::EditFrame(Tags::ID3v2Tag::CFrame& frame)
{
    std::unique_ptr<CFrameBaseDialog> pDialog = CreateFrameDialog(frame, this);
    if (!pDialog)
    {
        ShowMessage(ToQString(Res::LoadResourceString(Res::IDS_UNSUPPORTED_FIELD)));
        return FALSE;
    }
    return pDialog->EditFrame(&frame);
}

tagTAGOPTIONS CBaseTagEditDialog::GetTagOptions() const
{
    return m_getOptions ? m_getOptions() : tagTAGOPTIONS();
}

QTreeWidgetItem* CBaseTagEditDialog::InsertFrameItem(const char* szID, const QString& strValue,
                                                     void* pData)
{
    QTreeWidgetItem* pGroup = m_pFrameList->topLevelItem(GetFrameGroup(szID) - 1);
    auto* pItem = new QTreeWidgetItem(pGroup, {ToQString(GetFrameCaption(szID)), strValue});
    pItem->setData(0, ROW_DATA, QVariant::fromValue(reinterpret_cast<quintptr>(pData)));
    pItem->setToolTip(1, strValue);
    pGroup->setHidden(false);
    pGroup->setExpanded(true);
    return pItem;
}

void CBaseTagEditDialog::SetItemValue(QTreeWidgetItem* pItem, const QString& strValue)
{
    pItem->setText(1, strValue);
    pItem->setToolTip(1, strValue);
}

QTreeWidgetItem* CBaseTagEditDialog::GetSelectedItem() const
{
    const QList<QTreeWidgetItem*> arrSelected = m_pFrameList->selectedItems();
    return arrSelected.isEmpty() || !arrSelected.first()->parent() ? nullptr : arrSelected.first();
}

std::vector<QTreeWidgetItem*> CBaseTagEditDialog::GetRows() const
{
    std::vector<QTreeWidgetItem*> arrRows;
    for (int nGroup = 0; nGroup < m_pFrameList->topLevelItemCount(); ++nGroup)
    {
        QTreeWidgetItem* pGroup = m_pFrameList->topLevelItem(nGroup);
        for (int n = 0; n < pGroup->childCount(); ++n)
            arrRows.push_back(pGroup->child(n));
    }
    return arrRows;
}

QTreeWidgetItem* CBaseTagEditDialog::FindItem(const void* pData) const
{
    for (QTreeWidgetItem* pItem : GetRows())
    {
        if (GetItemData(pItem) == pData)
            return pItem;
    }
    return nullptr;
}

void CBaseTagEditDialog::AddGenreEntries(const QStringList& arrEntries)
{
    m_pGenre->addItems(arrEntries);
}

void CBaseTagEditDialog::DeleteSelectedItem()
{
    QTreeWidgetItem* pItem = GetSelectedItem();
    if (!pItem)
        return;
    std::vector<QTreeWidgetItem*> arrRows = GetRows();
    const auto it = std::find(arrRows.begin(), arrRows.end(), pItem);
    const int nRow = static_cast<int>(it - arrRows.begin());
    const int nCount = static_cast<int>(arrRows.size());
    const int nNext = GetSelectionAfterRemoval(nRow, nCount);
    QTreeWidgetItem* pGroup = pItem->parent();
    delete pItem;
    if (pGroup->childCount() == 0)
        pGroup->setHidden(true);
    arrRows.erase(arrRows.begin() + nRow);
    if (nNext >= 0 && nNext < static_cast<int>(arrRows.size()))
        SelectItem(arrRows[static_cast<size_t>(nNext)]);
    UpdateButtons();
}

void CBaseTagEditDialog::SelectItem(QTreeWidgetItem* pItem)
{
    m_pFrameList->setCurrentItem(pItem);
    pItem->setSelected(true);
    m_pFrameList->scrollToItem(pItem);
}

void CBaseTagEditDialog::EnableKeep(BOOL bEnable)
{
    m_pKeep->setEnabled(bEnable);
    for (QMenu* pMenu : m_pFieldMenus)
    {
        for (QAction* pAction : pMenu->actions())
        {
            if (pAction->data().toUInt() == FieldMenu::ID_KEEP)
                pAction->setEnabled(bEnable);
        }
    }
}

void CBaseTagEditDialog::ShowMessage(const QString& strText)
{
    QMessageBox box(QMessageBox::NoIcon, ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                    strText, QMessageBox::Ok, this);
    box.exec();
}

void CBaseTagEditDialog::UpdateButtons()
{
    const bool bRow = GetSelectedItem() != nullptr;
    m_pEdit->setEnabled(bRow);
    m_pRemove->setEnabled(bRow);
}

bool CBaseTagEditDialog::eventFilter(QObject* pObject, QEvent* pEvent)
{
    // Enter and F2 edit the row, Delete removes it, as the buttons do.
    if (pObject == m_pFrameList && pEvent->type() == QEvent::KeyPress)
    {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->modifiers() == Qt::NoModifier || pKey->modifiers() == Qt::KeypadModifier)
        {
            const int nKey = pKey->key();
            if ((nKey == Qt::Key_Return || nKey == Qt::Key_Enter || nKey == Qt::Key_F2) &&
                GetSelectedItem())
            {
                OnEditFrame();
                return true;
            }
            if (nKey == Qt::Key_Delete && GetSelectedItem())
            {
                OnRemoveFrame();
                return true;
            }
        }
    }
    return QDialog::eventFilter(pObject, pEvent);
}
