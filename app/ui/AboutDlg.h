// CAboutDlg: "About Tagwright" (template 100): the emblem, product name, version, rights notice,
// a licence line whose link opens the terms of use, a mail link and a picture of the program's
// own drawn in a sunken frame.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>

class QFrame;
class QLabel;

class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

    int DoModal();

    // The maker's mail address behind the mail link.
    static QString GetMailAddress();
    // The about box's picture: 270 x 130 pixels, 8 bits per pixel with a 256-entry colour
    // table. Null when it cannot be made.
    static QImage CreatePicture();
    // Where the picture's top left corner goes, relative to the frame's inside, so that the
    // picture sits in its middle: also when it does not fit, when it is cut equally on both
    // sides.
    static QPoint GetPictureOrigin(const QSize& sizeFrame, const QSize& sizePicture);

protected:
    // Paints the picture frame, as the owner of an owner-drawn control does.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void DrawPicture();
    void OnLicenceLink();
    void OnMailLink(const QString& strLink);

    QFrame* m_pPicture = nullptr;
    QPixmap m_picture; // null when the picture could not be made
};
