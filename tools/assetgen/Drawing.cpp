#include "tools/assetgen/Drawing.h"

#include <QPen>
#include <QTransform>

namespace quintaro {

QPainterPath faceLabelStrokes(char label) {
    QPainterPath path;
    switch (label) {
        case 'A':
            path.moveTo(0.12, 1.0);
            path.lineTo(0.5, 0.0);
            path.lineTo(0.88, 1.0);
            path.moveTo(0.27, 0.62);
            path.lineTo(0.73, 0.62);
            break;
        case 'K':
            path.moveTo(0.2, 0.0);
            path.lineTo(0.2, 1.0);
            path.moveTo(0.85, 0.0);
            path.lineTo(0.2, 0.6);
            path.moveTo(0.42, 0.42);
            path.lineTo(0.87, 1.0);
            break;
        case 'Q':
            path.addEllipse(QRectF(0.1, 0.0, 0.8, 1.0));
            path.moveTo(0.55, 0.7);
            path.lineTo(0.92, 1.05);
            break;
        case 'J':
            path.moveTo(0.7, 0.0);
            path.lineTo(0.7, 0.7);
            path.cubicTo(0.7, 1.05, 0.2, 1.05, 0.18, 0.72);
            break;
        case '9':
            path.addEllipse(QRectF(0.18, 0.0, 0.64, 0.55));
            path.moveTo(0.82, 0.28);
            path.lineTo(0.82, 0.7);
            path.cubicTo(0.82, 1.05, 0.25, 1.05, 0.2, 0.8);
            break;
        case '0':  // "10"
            path.moveTo(0.0, 0.18);
            path.lineTo(0.2, 0.0);
            path.lineTo(0.2, 1.0);
            path.addEllipse(QRectF(0.42, 0.0, 0.54, 1.0));
            break;
        default:
            break;
    }
    return path;
}

void drawDie(QPainter& painter, QPointF centre, double size, double degrees, char label,
             const DieStyle& style) {
    painter.save();
    painter.translate(centre);
    painter.rotate(degrees);
    const double half = size / 2.0;
    const double radius = size * 0.2;
    const QRectF body(-half, -half, size, size);
    if (style.shadow) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 45));
        painter.drawRoundedRect(body.translated(size * 0.07, size * 0.09), radius, radius);
    }
    painter.setPen(QPen(style.edge, style.edgeWidth));
    painter.setBrush(style.face);
    painter.drawRoundedRect(body, radius, radius);

    const double box = size * style.labelSize;
    QTransform toBox;
    toBox.translate(style.labelShift.x() - box / 2.0, style.labelShift.y() - box / 2.0);
    toBox.scale(box, box);
    QPen pen(style.label, style.labelWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(toBox.map(faceLabelStrokes(label)));
    painter.restore();
}

}  // namespace quintaro
