#pragma once
// Drawing pieces shared by the picture and icon generators. Everything is built from paths,
// never from fonts, so the output does not depend on the fonts of the machine.

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

namespace quintaro {

// The outline of a face label ("A", "K", "Q", "J", "10", "9") as strokes in a unit box
// (0..1 both ways); stroke it with a round pen.
QPainterPath faceLabelStrokes(char label);

struct DieStyle {
    QColor face{0xFF, 0xFF, 0xFF};
    QColor edge{0x4A, 0x50, 0x58};
    QColor label{0xB4, 0x1E, 0x28};
    double edgeWidth = 1.0;
    double labelWidth = 1.6;
    double labelSize = 0.5;        // the label's box, as a part of the die's size
    QPointF labelShift{0.0, 0.0};  // moves the label off the centre, in pixels
    bool shadow = true;
};

// A die seen from above, centred on `centre`, `size` wide, turned by `degrees`, showing
// `label`.
void drawDie(QPainter& painter, QPointF centre, double size, double degrees, char label,
             const DieStyle& style);

}  // namespace quintaro
