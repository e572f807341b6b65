#include "app/ui/FileCommandHost.h"

#include "app/ui/App.h"

CFileCommandHost::CFileCommandHost(CApp& app) : m_app(app) {}

BOOL CFileCommandHost::CanRunCommand(EFileCommand) const
{
    // The editors and the rename dialogs have no windows yet: the list keeps their commands
    // disabled rather than offering items that do nothing.
    return FALSE;
}

std::vector<CString> CFileCommandHost::GetRenamePresets() const
{
    std::vector<CString> arrPresets;
    for (const tagPRESETMENUENTRY& entry : m_app.m_presets.BuildMenu())
        arrPresets.push_back(entry.strText);
    return arrPresets;
}

std::vector<CFileAssocData*> CFileCommandHost::RunCommand(EFileCommand, int,
                                                          const std::vector<CFileAssocData*>&)
{
    return {};
}
