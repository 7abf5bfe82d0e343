#include "platform/ui/ProgramIcon.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace platform {

QImage PaintProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 256 grid.
    p.scale(size / 256.0, size / 256.0);

    QLinearGradient tile(0, 8, 0, 248);
    tile.setColorAt(0, QColor(0x2f, 0x7d, 0x8c));
    tile.setColorAt(1, QColor(0x1d, 0x55, 0x62));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);

    QPainterPath page;
    page.moveTo(64, 36);
    page.lineTo(156, 36);
    page.lineTo(196, 76);
    page.lineTo(196, 220);
    page.lineTo(64, 220);
    page.closeSubpath();
    p.setBrush(QColor(0xfb, 0xfa, 0xf5));
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(156, 36);
    fold.lineTo(156, 76);
    fold.lineTo(196, 76);
    fold.closeSubpath();
    p.setBrush(QColor(0xd6, 0xe3, 0xe2));
    p.drawPath(fold);

    // Thicker strokes at small sizes, so the mark still reads at 16 px.
    const qreal w = size < 32 ? 22 : 14;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xe0, 0x70, 0x2a), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(108, 116), QPointF(80, 144), QPointF(108, 172)}));
    p.drawPolyline(QPolygonF({QPointF(152, 116), QPointF(180, 144), QPointF(152, 172)}));
    p.setPen(QPen(QColor(0x1d, 0x55, 0x62), w - 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(138, 104), QPointF(122, 184));
    p.end();
    return image;
}

QByteArray ProgramIconPng(int size)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    PaintProgramIcon(size).save(&buffer, "PNG");
    return png;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(PaintProgramIcon(s)));
    return icon;
}

} // namespace platform
