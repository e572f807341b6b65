#include "rename/ui/RenameListModel.h"

#include "browser/FileAssocData.h"
#include "browser/ui/QtString.h"
#include "rename/AutoRename.h"
#include "rename/RenamePlan.h"
#include "rename/ui/RenameImages.h"

static_assert(RENAME_IMAGE_COUNT == 4, "one image per mark");

CRenameListModel::CRenameListModel(CAutoRename& engine, QObject* pParent)
    : QAbstractTableModel(pParent), m_engine(engine)
{
    for (int i = 0; i < RENAME_IMAGE_COUNT; ++i)
        m_arrImages[i] = RenameImages::CreateImage(static_cast<ERenameImage>(i));
}

tagRENAMEITEM* CRenameListModel::GetItem(int nRow) const
{
    return m_engine.GetItem(nRow);
}

void CRenameListModel::RefreshAll()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, COLUMN_COUNT - 1));
}

int CRenameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_engine.GetCount();
}

int CRenameListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : COLUMN_COUNT;
}

QVariant CRenameListModel::data(const QModelIndex& index, int nRole) const
{
    const tagRENAMEITEM* pItem = GetItem(index.row());
    if (!pItem || !pItem->pRecord)
        return {};
    switch (nRole)
    {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column())
        {
        case COLUMN_FILENAME:
            return ToQString(pItem->pRecord->m_strFileName);
        case COLUMN_NEW_FILENAME:
            return ToQString(pItem->strNewName);
        case COLUMN_FOLDER:
            return ToQString(pItem->pRecord->m_strFolder);
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (index.column() == COLUMN_FILENAME)
            return m_arrImages[RENAME_IMAGE_ARROW];
        if (index.column() == COLUMN_NEW_FILENAME)
            return m_arrImages[GetNewNameImage(*pItem)];
        return {};
    default:
        return {};
    }
}

QVariant CRenameListModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (nRole == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    if (nRole != Qt::DisplayRole)
        return {};
    switch (nSection)
    {
    case COLUMN_FILENAME:
        return QStringLiteral("Filename");
    case COLUMN_NEW_FILENAME:
        return QStringLiteral("New Filename");
    case COLUMN_FOLDER:
        return QStringLiteral("Folder");
    default:
        return {};
    }
}
