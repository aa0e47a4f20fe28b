#include "canvas.h"

#include <QDir>
#include <cstdio>

namespace velmor::pictures {

QLinearGradient Vertical(qreal top, qreal bottom, const QColor& from, const QColor& to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

Canvas::Canvas(int width, int height) : image_(width, height, QImage::Format_ARGB32) {
    image_.fill(Qt::transparent);
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
}

QImage Canvas::Finish() {
    if (painter_.isActive()) {
        painter_.end();
    }
    return image_;
}

void Canvas::Save(const QString& directory, const QString& name) {
    const QString path = QDir(directory).filePath(name + ".png");
    if (!Finish().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

}  // namespace velmor::pictures
