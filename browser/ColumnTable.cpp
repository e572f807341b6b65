#include "browser/ColumnTable.h"

#include "browser/ColumnManager.h"

namespace
{

constexpr tagCOLUMNDEF FILE_LIST_COLUMNS[FILE_LIST_COLUMN_COUNT] = {
    {u"Filename", COLF_DEFAULT | COLF_MANDATORY, 200, 80},
    {u"Size", COLF_DEFAULT | COLF_ALIGN_RIGHT, 80, 60},
    {u"Date created", COLF_ALIGN_RIGHT, 120, 80},
    {u"Date modified", COLF_DEFAULT | COLF_ALIGN_RIGHT, 120, 80},
    {u"Date accessed", COLF_ALIGN_RIGHT, 120, 80},
    {u"Folder", COLF_ALIGN_LEFT, 120, 80},
    {u"Tag", COLF_DEFAULT, 80, 60},
    {u"Title", COLF_DEFAULT, 90, 60},
    {u"Artist", COLF_DEFAULT, 90, 60},
    {u"Album", COLF_DEFAULT, 90, 60},
    {u"Genre", COLF_DEFAULT, 90, 60},
    {u"Year", COLF_DEFAULT | COLF_ALIGN_RIGHT, 80, 60},
    {u"Comment", COLF_DEFAULT, 80, 60},
    {u"Track#", COLF_DEFAULT | COLF_ALIGN_RIGHT, 80, 60},
    {u"Length", COLF_DEFAULT | COLF_ALIGN_RIGHT, 80, 60},
    {u"Bitrate", COLF_DEFAULT | COLF_ALIGN_RIGHT, 80, 60},
    {u"Sample rate", COLF_DEFAULT | COLF_ALIGN_RIGHT, 80, 60},
    {u"Channels", COLF_DEFAULT | COLF_ALIGN_RIGHT, 80, 60},
};

} // namespace

const tagCOLUMNDEF* GetFileListColumns()
{
    return FILE_LIST_COLUMNS;
}

void AddFileListColumns(CColumnManager& manager)
{
    for (int nID = 0; nID < FILE_LIST_COLUMN_COUNT; ++nID)
    {
        const tagCOLUMNDEF& def = FILE_LIST_COLUMNS[nID];
        manager.AddColumn(def.pszTitle, def.nFlags, def.nWidth, def.nMinWidth, nID);
    }
}
