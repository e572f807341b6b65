// CPicturePreview: the picture dialog's preview box. White with a sunken border; it shows the
// preview at its own size, centred, or without one a centred line of text.
#pragma once

#include "base/Types.h"
#include "editor/PictureRules.h"

#include <QFrame>
#include <QImage>

class CPicturePreview : public QFrame
{
    Q_OBJECT

public:
    explicit CPicturePreview(QWidget* pParent = nullptr);

    // The preview to show, or none (null). bHasPicture tells a picture whose preview could not
    // be made from no picture at all, for the text shown instead.
    void SetPreview(const QImage* pPreview, BOOL bHasPicture);

    // The box a preview is fitted into: the client area less its 1-pixel border.
    tagPICTURESIZE GetPreviewBox() const;
    // The text shown in place of a preview; empty while a preview shows.
    QString GetText() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QImage m_preview;
    BOOL m_bHasPicture = FALSE;
};
