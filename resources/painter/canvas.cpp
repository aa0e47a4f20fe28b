#include "canvas.h"

#include <QDir>
#include <cstdio>

namespace velmor::pictures {

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
