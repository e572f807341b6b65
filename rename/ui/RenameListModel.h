// CRenameListModel: the rows of the rename confirmation, one per item of the engine in its
// order. Texts and images are made when the view asks for them: the current name with the
// arrow, the planned name with its mark, and the folder. Names and folders are shown whole.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

class CAutoRename;
struct tagRENAMEITEM;

class CRenameListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum
    {
        COLUMN_FILENAME,
        COLUMN_NEW_FILENAME,
        COLUMN_FOLDER,
        COLUMN_COUNT
    };

    // The engine is borrowed and must outlive the model.
    explicit CRenameListModel(CAutoRename& engine, QObject* pParent = nullptr);

    // The item of a row, or null.
    tagRENAMEITEM* GetItem(int nRow) const;
    // Every row shown again (after names or marks changed).
    void RefreshAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;

private:
    CAutoRename& m_engine;
    QIcon m_arrImages[4];
};
