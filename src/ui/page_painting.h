#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QRect>

namespace velmor::ui {

// The colours the wizard pages paint with.
inline const QColor kPageCream(255, 254, 239);
inline const QColor kPageBlue(0, 0, 255);

// The pages' background: white at the top shading to cream at the bottom.
inline QLinearGradient PageGradient(const QRect& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, kPageCream);
    return gradient;
}

// A rectangle given by its corners, the right and bottom edges outside it.
inline QRect CornerRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace velmor::ui
