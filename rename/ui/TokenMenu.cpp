#include "rename/ui/TokenMenu.h"

#include "browser/ui/QtString.h"

#include <QMenu>

QMenu* CreateTokenMenu(QWidget* pParent, const QString& strName,
                       std::span<const tagRENAMETOKEN> tokens)
{
    auto* pMenu = new QMenu(pParent);
    pMenu->setObjectName(strName);
    for (const tagRENAMETOKEN& token : tokens)
    {
        if (!token.pszText)
        {
            pMenu->addSeparator();
            continue;
        }
        QAction* pAction = pMenu->addAction(ToQString(CString(token.pszText)));
        pAction->setObjectName(QString::number(token.nID));
        pAction->setData(token.nID);
    }
    return pMenu;
}
