#include "browser/ui/FileViewMenus.h"

#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/QtString.h"

#include <QMenu>

namespace
{

QAction* AddCommand(QMenu& menu, CFileView& view, const QString& strText, UINT nID)
{
    QAction* pAction = menu.addAction(strText);
    pAction->setData(nID);
    pAction->setEnabled(view.IsCommandEnabled(nID));
    QObject::connect(pAction, &QAction::triggered, &view, [&view, nID] { view.OnCommand(nID); });
    return pAction;
}

} // namespace

namespace FileViewMenus
{

std::unique_ptr<QMenu> CreateItemMenu(CFileView& view, const std::vector<CString>& arrPresets)
{
    auto pMenu = std::make_unique<QMenu>(&view);
    pMenu->setObjectName(QStringLiteral("322"));
    QAction* pEditTag = AddCommand(*pMenu, view, QStringLiteral("&Edit Tag..."), Cmd::ID_EDIT_TAG);
    pMenu->setDefaultAction(pEditTag);
    AddCommand(*pMenu, view, QStringLiteral("Remo&ve Tag..."), Cmd::ID_REMOVE_TAG);
    pMenu->addSeparator();
    AddCommand(*pMenu, view, QStringLiteral("P&lay"), Cmd::ID_PLAY);
    AddCommand(*pMenu, view, QStringLiteral("Open File Location"), Cmd::ID_OPEN_FILE_LOCATION);
    pMenu->addSeparator();
    AddCommand(*pMenu, view, QStringLiteral("&Auto Rename...\tCtrl+F2"), Cmd::ID_AUTO_RENAME);
    AddCommand(*pMenu, view, QStringLiteral("Tags from File &Name...\tCtrl+Shift+F2"),
               Cmd::ID_TAGS_FROM_NAME);
    // The presets' submenu: one entry per stored preset, its pattern as text.
    QMenu* pPresets = pMenu->addMenu(QStringLiteral("Rename Pre&sets"));
    for (size_t n = 0; n < arrPresets.size(); ++n)
    {
        const UINT nID = Cmd::ID_RENAME_PRESET_FIRST + static_cast<UINT>(n);
        if (nID > Cmd::ID_RENAME_PRESET_LAST)
            break;
        AddCommand(*pPresets, view, ToQString(arrPresets[n]), nID);
    }
    pPresets->setEnabled(!pPresets->isEmpty());
    pMenu->addSeparator();
    AddCommand(*pMenu, view, QStringLiteral("&Remove from List\tDelete"), Cmd::ID_REMOVE_FROM_LIST);
    AddCommand(*pMenu, view, QStringLiteral("Move Up\tCtrl+Up"), Cmd::ID_MOVE_UP);
    AddCommand(*pMenu, view, QStringLiteral("Move Down\tCtrl+Down"), Cmd::ID_MOVE_DOWN);
    pMenu->addSeparator();
    AddCommand(*pMenu, view, QStringLiteral("Rena&me\tF2"), Cmd::ID_RENAME);
    AddCommand(*pMenu, view, QStringLiteral("&Properties"), Cmd::ID_PROPERTIES);
    return pMenu;
}

std::unique_ptr<QMenu> CreateHeaderMenu(CFileView& view)
{
    auto pMenu = std::make_unique<QMenu>(&view);
    pMenu->setObjectName(QStringLiteral("318"));
    AddCommand(*pMenu, view, QStringLiteral("Size All Columns to Fit"), Cmd::ID_SIZE_ALL_COLUMNS);
    pMenu->addSeparator();
    AddCommand(*pMenu, view, QStringLiteral("Choose Columns..."), Cmd::ID_CHOOSE_COLUMNS);
    AddCommand(*pMenu, view, QStringLiteral("&Reset to Default"), Cmd::ID_RESET_COLUMNS);
    return pMenu;
}

} // namespace FileViewMenus
