// The commands of the file list that other subsystems carry out with their own windows: the tag
// editors, Remove Tag and the rename dialogs. The list does not know those windows; it asks its
// host, which the application implements, and updates the rows of the records it is given back.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <vector>

class CFileAssocData;
class CUndoHistory;

enum class EFileCommand
{
    EditTag,
    RemoveTag,
    AutoRename,
    RenamePreset,
    TagsFromName,
};

class IFileCommandHost
{
public:
    virtual ~IFileCommandHost() = default;

    // Whether the host can carry out the command over nRecords selected records (at least one);
    // the list disables what it cannot.
    virtual BOOL CanRunCommand(EFileCommand command, int nRecords) const = 0;
    // The patterns of the rename presets, in order: the entries of the list's preset menu.
    virtual std::vector<CString> GetRenamePresets() const = 0;
    // Carries out the command over the selected records, in list order (nPreset: the preset's
    // position for RenamePreset). The host brings the records of the files it changed up to date
    // (a renamed file's record under its new name, one whose file is gone marked stale) and
    // returns them; the list repaints their rows and drops the stale ones.
    virtual std::vector<CFileAssocData*>
    RunCommand(EFileCommand command, int nPreset,
               const std::vector<CFileAssocData*>& arrRecords) = 0;
    // The changes to files the commands recorded, for Undo; the list's in-place renames are
    // recorded there too. Null: nothing is recorded and Undo is disabled.
    virtual CUndoHistory* GetUndoHistory() = 0;
};
