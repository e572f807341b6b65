// CSingleTagEditDialog: the "Tags" dialog for one file. It opens the file once and keeps it
// open (and locked against other writers) while it is shown; its ID3v1 and ID3v2 tag objects
// are the working copy, written on OK with the tags the options select.
#pragma once

#include "base/String.h"
#include "editor/ui/BaseTagEditDialog.h"

#include <memory>

namespace Tags
{
class CMpegFile;
}

class CSingleTagEditDialog : public CBaseTagEditDialog
{
    Q_OBJECT

public:
    explicit CSingleTagEditDialog(QWidget* pParent = nullptr);
    ~CSingleTagEditDialog() override;

    void SetFilePath(const CString& strFilePath) { m_strFilePath = strFilePath; }
    // Opens the file and runs the dialog: Accepted after the file was written, Rejected
    // otherwise (also when the file could not be opened: string 140 was shown).
    int DoModal();

protected:
    // Opens the file and loads its fields and frames; FALSE (after string 140) when it did not
    // open.
    BOOL OnInitDialog();
    void OnAddFrame(int nCommand) override;
    void OnEditFrame() override;
    void OnRemoveFrame() override;
    void OnFieldMenu(ID3V1_FIELD field) override;
    void OnOK() override;

private:
    void LoadID3v1Fields();
    void LoadFrameList();

    CString m_strFilePath;
    std::unique_ptr<Tags::CMpegFile> m_pFile;
};
