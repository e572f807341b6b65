// CFolderToolBar: the three buttons above the folder tree. It only shows them: the pane that
// owns it receives their commands and supplies their states.
#pragma once

#include "base/Types.h"

#include <QAction>
#include <QToolBar>

#include <memory>

class CFolderToolBar : public QToolBar
{
    Q_OBJECT

public:
    static constexpr UINT ID_INCLUDE_SUBDIRECTORIES = 320;
    static constexpr UINT ID_APPEND_TO_LIST = 321;
    static constexpr UINT ID_SET_DEFAULT_PATH = 322;

    explicit CFolderToolBar(QWidget* pParent = nullptr);

    // The button of a command; NULL for another id.
    QAction* GetAction(UINT nID) const;
    // Buttons 320 and 321 are shown pressed while their options are set; all are enabled.
    void SetButtonStates(BOOL bIncludeSubfolders, BOOL bAppendToList);

signals:
    void command(UINT nID);

private:
    std::unique_ptr<QAction> MakeButton(UINT nID, const QPixmap& image, bool bCheckable);

    std::unique_ptr<QAction> m_pIncludeSubdirectories;
    std::unique_ptr<QAction> m_pAppendToList;
    std::unique_ptr<QAction> m_pSetDefaultPath;
};
