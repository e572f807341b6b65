#include "FolderTreeModel.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QIcon>

#include <algorithm>

namespace
{

// Hidden folders stay out of the tree, as in the desktop's file manager.
constexpr QDir::Filters FOLDER_FILTER = QDir::Dirs | QDir::NoDotAndDotDot;

} // namespace

CFolderTreeModel::CFolderTreeModel(const std::vector<tagFOLDERROOT>& arrRoots, QObject* pParent)
    : QAbstractItemModel(pParent)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(true);
    for (const tagFOLDERROOT& root : arrRoots)
    {
        auto pNode = std::make_unique<CNode>();
        pNode->strName = root.strName;
        pNode->strPath = root.strPath;
        pNode->nRootKind = root.nKind;
        pNode->bRoot = true;
        m_arrRoots.push_back(std::move(pNode));
    }
}

CFolderTreeModel::~CFolderTreeModel() = default;

CFolderTreeModel::CNode* CFolderTreeModel::NodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<CNode*>(index.internalPointer()) : nullptr;
}

const std::vector<std::unique_ptr<CFolderTreeModel::CNode>>&
CFolderTreeModel::SiblingsOf(const CNode* pNode) const
{
    return pNode->pParent ? pNode->pParent->arrChildren : m_arrRoots;
}

int CFolderTreeModel::RowOf(const CNode* pNode) const
{
    const auto& arrSiblings = SiblingsOf(pNode);
    const auto it = std::find_if(arrSiblings.begin(), arrSiblings.end(),
                                 [&](const std::unique_ptr<CNode>& p) { return p.get() == pNode; });
    return it == arrSiblings.end() ? -1 : static_cast<int>(it - arrSiblings.begin());
}

QModelIndex CFolderTreeModel::IndexOf(const CNode* pNode) const
{
    if (!pNode)
        return {};
    return createIndex(RowOf(pNode), 0, const_cast<CNode*>(pNode));
}

QString CFolderTreeModel::GetItemPath(const QModelIndex& index) const
{
    const CNode* pNode = NodeOf(index);
    return pNode ? pNode->strPath : QString();
}

QString CFolderTreeModel::ChildPath(const CNode& node, const QString& strName)
{
    return node.strPath.endsWith(u'/') ? node.strPath + strName : node.strPath + u'/' + strName;
}

bool CFolderTreeModel::HasVisibleFolders(const QString& strPath)
{
    // An item without a path (a grouping item) holds nothing of the file system.
    if (strPath.isEmpty())
        return false;
    QDirIterator it(strPath, FOLDER_FILTER);
    return it.hasNext();
}

QStringList CFolderTreeModel::ReadFolderNames(const QString& strPath) const
{
    if (strPath.isEmpty())
        return {};
    QStringList arrNames = QDir(strPath).entryList(FOLDER_FILTER, QDir::NoSort);
    // Names equal but for case are ordered exactly, so the order never depends on the listing.
    std::sort(arrNames.begin(), arrNames.end(),
              [&](const QString& a, const QString& b)
              {
                  const int nOrder = m_collator.compare(a, b);
                  return nOrder != 0 ? nOrder < 0 : a < b;
              });
    return arrNames;
}

QModelIndex CFolderTreeModel::index(int nRow, int nColumn, const QModelIndex& parent) const
{
    if (nColumn != 0 || nRow < 0)
        return {};
    const CNode* pParent = NodeOf(parent);
    const auto& arrChildren = pParent ? pParent->arrChildren : m_arrRoots;
    if (nRow >= static_cast<int>(arrChildren.size()))
        return {};
    return createIndex(nRow, 0, arrChildren[static_cast<size_t>(nRow)].get());
}

QModelIndex CFolderTreeModel::parent(const QModelIndex& index) const
{
    const CNode* pNode = NodeOf(index);
    return pNode ? IndexOf(pNode->pParent) : QModelIndex();
}

int CFolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const CNode* pParent = NodeOf(parent);
    return static_cast<int>(pParent ? pParent->arrChildren.size() : m_arrRoots.size());
}

int CFolderTreeModel::columnCount(const QModelIndex& /*parent*/) const
{
    return 1;
}

QVariant CFolderTreeModel::data(const QModelIndex& index, int nRole) const
{
    const CNode* pNode = NodeOf(index);
    if (!pNode)
        return {};
    switch (nRole)
    {
    case Qt::DisplayRole:
        return pNode->strName;
    case Qt::ToolTipRole:
        return pNode->bRoot ? pNode->strPath : QVariant();
    case Qt::DecorationRole:
        if (pNode->bRoot)
        {
            switch (pNode->nRootKind)
            {
            case tagFOLDERROOT::ROOT_HOME:
                return QIcon::fromTheme(QStringLiteral("user-home"),
                                        m_iconProvider.icon(QFileIconProvider::Folder));
            case tagFOLDERROOT::ROOT_FILE_SYSTEM:
                return m_iconProvider.icon(QFileIconProvider::Computer);
            case tagFOLDERROOT::ROOT_VOLUME:
                return m_iconProvider.icon(QFileIconProvider::Drive);
            }
        }
        return m_iconProvider.icon(QFileIconProvider::Folder);
    default:
        return {};
    }
}

Qt::ItemFlags CFolderTreeModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool CFolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    const CNode* pNode = NodeOf(parent);
    if (!pNode)
        return !m_arrRoots.empty();
    if (pNode->bFetched)
        return !pNode->arrChildren.empty();
    if (pNode->nHasFolders < 0)
        pNode->nHasFolders = HasVisibleFolders(pNode->strPath) ? 1 : 0;
    return pNode->nHasFolders != 0;
}

bool CFolderTreeModel::canFetchMore(const QModelIndex& parent) const
{
    const CNode* pNode = NodeOf(parent);
    return pNode && !pNode->bFetched;
}

void CFolderTreeModel::fetchMore(const QModelIndex& parent)
{
    CNode* pNode = NodeOf(parent);
    if (!pNode || pNode->bFetched)
        return;
    pNode->bFetched = true;
    const QStringList arrNames = ReadFolderNames(pNode->strPath);
    if (arrNames.isEmpty())
    {
        // The expand button goes away once the folder turns out to hold no folders.
        if (pNode->nHasFolders != 0)
        {
            pNode->nHasFolders = 0;
            emit dataChanged(parent, parent);
        }
        return;
    }
    beginInsertRows(parent, 0, static_cast<int>(arrNames.size()) - 1);
    for (const QString& strName : arrNames)
    {
        auto pChild = std::make_unique<CNode>();
        pChild->strName = strName;
        pChild->strPath = ChildPath(*pNode, strName);
        pChild->pParent = pNode;
        pNode->arrChildren.push_back(std::move(pChild));
    }
    endInsertRows();
}

void CFolderTreeModel::MarkStale(const QModelIndex& index)
{
    if (CNode* pNode = NodeOf(index))
        pNode->bStale = pNode->bFetched;
}

void CFolderTreeModel::Refresh(const QModelIndex& index)
{
    CNode* pNode = NodeOf(index);
    if (!pNode)
        return;
    pNode->bStale = false;
    if (!pNode->bFetched)
    {
        fetchMore(index);
        return;
    }
    const QStringList arrNames = ReadFolderNames(pNode->strPath);
    auto& arrChildren = pNode->arrChildren;

    // Folders that went away, from the last so the rows of the others stay valid.
    for (int nRow = static_cast<int>(arrChildren.size()) - 1; nRow >= 0; --nRow)
    {
        if (!arrNames.contains(arrChildren[static_cast<size_t>(nRow)]->strName))
        {
            beginRemoveRows(index, nRow, nRow);
            arrChildren.erase(arrChildren.begin() + nRow);
            endRemoveRows();
        }
    }
    // New folders at their places in the order; both lists are in the same order.
    for (int nRow = 0; nRow < static_cast<int>(arrNames.size()); ++nRow)
    {
        const QString& strName = arrNames[nRow];
        if (nRow < static_cast<int>(arrChildren.size()) &&
            arrChildren[static_cast<size_t>(nRow)]->strName == strName)
            continue;
        beginInsertRows(index, nRow, nRow);
        auto pChild = std::make_unique<CNode>();
        pChild->strName = strName;
        pChild->strPath = ChildPath(*pNode, strName);
        pChild->pParent = pNode;
        arrChildren.insert(arrChildren.begin() + nRow, std::move(pChild));
        endInsertRows();
    }
}

QModelIndex CFolderTreeModel::FindPath(const QString& strPathIn)
{
    if (strPathIn.isEmpty())
        return {};
    const QString strPath = QDir::cleanPath(strPathIn);
    if (!QDir::isAbsolutePath(strPath))
        return {};

    auto isAtOrUnder = [&](const QString& strRoot)
    {
        if (strRoot == u"/")
            return true;
        return strPath == strRoot || strPath.startsWith(strRoot + u'/');
    };
    CNode* pNode = nullptr;
    for (const auto& pRoot : m_arrRoots)
    {
        if (!pRoot->strPath.isEmpty() && isAtOrUnder(pRoot->strPath) &&
            (!pNode || pRoot->strPath.size() > pNode->strPath.size()))
            pNode = pRoot.get();
    }
    if (!pNode)
        return {};

    const QStringList arrParts = strPath.mid(pNode->strPath.size()).split(u'/', Qt::SkipEmptyParts);
    for (const QString& strPart : arrParts)
    {
        const QModelIndex index = IndexOf(pNode);
        if (!pNode->bFetched)
            fetchMore(index);
        const auto it =
            std::find_if(pNode->arrChildren.begin(), pNode->arrChildren.end(),
                         [&](const std::unique_ptr<CNode>& p) { return p->strName == strPart; });
        if (it == pNode->arrChildren.end())
            return {};
        pNode = it->get();
    }
    return IndexOf(pNode);
}
