#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

namespace velmor::pictures {

// The product's colours, shared by every picture.
inline const QColor kNavy(20, 42, 88);
inline const QColor kBlue(36, 92, 160);
inline const QColor kSky(120, 180, 230);
inline const QColor kGold(255, 219, 20);
inline const QColor kCream(255, 254, 239);
inline const QColor kFolderYellow(246, 196, 72);
inline const QColor kFolderEdge(176, 124, 24);
inline const QColor kGreen(40, 160, 60);
inline const QColor kRed(200, 40, 40);
inline const QColor kInk(40, 40, 40);

// A gradient from `from` at top to `to` at bottom.
QLinearGradient Vertical(qreal top, qreal bottom, const QColor& from, const QColor& to);

// A transparent picture with an antialiased painter on it.
class Canvas {
public:
    Canvas(int width, int height);
    QPainter& painter() { return painter_; }
    // Ends painting and writes the picture as PNG into the output directory.
    void Save(const QString& directory, const QString& name);
    QImage Finish();

private:
    QImage image_;
    QPainter painter_;
};

}  // namespace velmor::pictures
