// The folder tree's items: the roots, and below each the folders it holds, read when the view
// first needs them and read again when a collapsed folder is expanded.
#pragma once

#include "FolderRoots.h"

#include <QAbstractItemModel>
#include <QCollator>
#include <QFileIconProvider>

#include <memory>
#include <vector>

class CFolderTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit CFolderTreeModel(const std::vector<tagFOLDERROOT>& arrRoots,
                              QObject* pParent = nullptr);
    ~CFolderTreeModel() override;

    // The file-system path of an item; empty for none.
    QString GetItemPath(const QModelIndex& index) const;
    // The item of a folder, found below the root that holds it most closely (a volume before
    // home, home before the file system's root); the folders on the way are read as needed.
    // Invalid when the folder is not in the tree (it does not exist, or a hidden folder lies on
    // the way).
    QModelIndex FindPath(const QString& strPath);
    // Reads the folders of an item again, keeping the items of those still there.
    void Refresh(const QModelIndex& index);
    // The next expansion of the item reads its folders again.
    void MarkStale(const QModelIndex& index);

    QModelIndex index(int nRow, int nColumn, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct CNode
    {
        QString strName;
        QString strPath;
        tagFOLDERROOT::Kind nRootKind = tagFOLDERROOT::ROOT_FILE_SYSTEM;
        bool bRoot = false;
        CNode* pParent = nullptr;
        std::vector<std::unique_ptr<CNode>> arrChildren;
        bool bFetched = false;
        bool bStale = false;
        // Whether the folder holds any folder, known before its folders are read.
        mutable int nHasFolders = -1;
    };

    CNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const CNode* pNode) const;
    int RowOf(const CNode* pNode) const;
    const std::vector<std::unique_ptr<CNode>>& SiblingsOf(const CNode* pNode) const;
    // The visible folders of a path, in name order ignoring case.
    QStringList ReadFolderNames(const QString& strPath) const;
    static QString ChildPath(const CNode& node, const QString& strName);
    static bool HasVisibleFolders(const QString& strPath);

    std::vector<std::unique_ptr<CNode>> m_arrRoots;
    QCollator m_collator;
    QFileIconProvider m_iconProvider;
};
