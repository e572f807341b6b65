// CPictureFrameDialog: edits one attached-picture frame ("APIC"): the picture type, the
// description, and the picture itself, shown as a scaled preview with its dimensions. A picture
// comes from an image file (Select Cover, or a file dropped on the dialog) or from the clipboard
// (Paste Cover, stored as JPEG); Extract Cover saves it to an image file in a chosen format and
// Copy Cover puts it on the clipboard. The frame changes only on OK.
#pragma once

#include "base/String.h"
#include "editor/ui/FrameBaseDialog.h"
#include "editor/ui/ImageCodecs.h"

#include <QByteArray>
#include <QImage>
#include <QMessageBox>

#include <memory>

class CPicturePreview;
class QComboBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QToolButton;

namespace Tags::ID3v2Tag
{
class CPictureFrame;
}

class CPictureFrameDialog : public CFrameBaseDialog
{
    Q_OBJECT

public:
    explicit CPictureFrameDialog(QWidget* pParent = nullptr);
    ~CPictureFrameDialog() override;

protected:
    void OnInitDialog() override;
    void OnOK() override;

    // The image file to load, chosen in an open-file dialog with the filter's entries; empty
    // when the user cancels.
    virtual QString GetOpenPath(const tagIMAGEFILTER& filter);
    // The file to save the picture to, chosen in a save-file dialog that asks before replacing
    // a file, and in nFilter the index of the chosen entry; empty when the user cancels.
    virtual QString GetSavePath(const tagIMAGEFILTER& filter, int& nFilter);

    void changeEvent(QEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    void OnSelectCover();
    void OnExtractCover();
    void OnCopyCover();
    void OnPasteCover();

    Tags::ID3v2Tag::CPictureFrame* GetPictureFrame() const;
    QToolButton* CreateCoverButton(const char* szID, const QString& strTip, const QIcon& icon);

    // Decodes the bytes and makes the preview and the dimensions text of the picture; says so
    // and returns FALSE when the bytes are no picture the image library can read, keeping the
    // current one. pFormat receives the decoded format's name.
    BOOL LoadPicture(const QByteArray& bytes, QByteArray* pFormat = nullptr);
    // Loads the picture of an image file, its bytes kept exactly as they are in the file.
    BOOL LoadPictureFile(const QString& strPath);
    // Makes the bytes the current picture, with their MIME type.
    void KeepPicture(QByteArray bytes, const CString& strMime);
    // Shows the dimensions and the preview, and sets the cover buttons.
    void ShowValues();
    // Extract and Copy need a preview, Paste an image on the clipboard.
    void UpdateCoverButtons();
    void ShowMessage(QMessageBox::Icon icon, const CString& strText);

    QComboBox* m_pType = nullptr;
    CPicturePreview* m_pPreviewBox = nullptr;
    QToolButton* m_pSelect = nullptr;
    QToolButton* m_pExtract = nullptr;
    QToolButton* m_pCopy = nullptr;
    QToolButton* m_pPaste = nullptr;
    QLabel* m_pSize = nullptr;
    QLineEdit* m_pDescription = nullptr;

    // The scaled preview of the current picture; none when there is no picture or it could
    // not be scaled.
    std::unique_ptr<QImage> m_pPreview;
    // The bytes of the current picture, exactly as OK stores them; set only for a picture that
    // decoded.
    std::unique_ptr<QByteArray> m_hPicture;
    // The MIME type OK stores.
    CString m_strMime;
    // "%dx%d (px)" with the picture's size; empty without a picture.
    CString m_strSize;
};
