// The token menus of the rename dialogs: one entry per token, its text as written (never a
// mnemonic), its command number as object name and data.
#pragma once

#include "rename/PatternInput.h"

#include <QString>

#include <span>

class QMenu;
class QWidget;

// A menu owned by pParent; a token without text stands for a separator.
QMenu* CreateTokenMenu(QWidget* pParent, const QString& strName,
                       std::span<const tagRENAMETOKEN> tokens);
