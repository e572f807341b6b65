// The application's side of the file list's commands that open other subsystems' windows: the
// tag editors, Remove Tag and the rename dialogs, over the records the list hands over.
#pragma once

#include "browser/FileCommandHost.h"

class CApp;

class CFileCommandHost : public IFileCommandHost
{
public:
    explicit CFileCommandHost(CApp& app);

    BOOL CanRunCommand(EFileCommand command) const override;
    std::vector<CString> GetRenamePresets() const override;
    std::vector<CFileAssocData*>
    RunCommand(EFileCommand command, int nPreset,
               const std::vector<CFileAssocData*>& arrRecords) override;

private:
    CApp& m_app;
};
