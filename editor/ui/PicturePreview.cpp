#include "editor/ui/PicturePreview.h"

#include "browser/ui/QtString.h"

#include <QPainter>

CPicturePreview::CPicturePreview(QWidget* pParent) : QFrame(pParent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAccessibleName(QStringLiteral("Preview"));
    setAccessibleDescription(GetText());
}

void CPicturePreview::SetPreview(const QImage* pPreview, BOOL bHasPicture)
{
    m_preview = pPreview ? *pPreview : QImage();
    m_bHasPicture = bHasPicture;
    setAccessibleDescription(GetText());
    update();
}

tagPICTURESIZE CPicturePreview::GetPreviewBox() const
{
    return ::GetPreviewBox(width(), height());
}

QString CPicturePreview::GetText() const
{
    return m_preview.isNull() ? ToQString(GetPreviewPlaceholder(m_bHasPicture)) : QString();
}

void CPicturePreview::paintEvent(QPaintEvent* pEvent)
{
    Q_UNUSED(pEvent);
    QPainter painter(this);
    // White whatever the palette, so that a picture shows as it is.
    painter.fillRect(rect(), Qt::white);
    if (!m_preview.isNull())
    {
        const tagPICTURERECT place =
            GetPreviewRect({m_preview.width(), m_preview.height()}, {width(), height()});
        painter.drawImage(QPoint(place.nLeft, place.nTop), m_preview);
    }
    else
    {
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, GetText());
    }
    drawFrame(&painter);
}
