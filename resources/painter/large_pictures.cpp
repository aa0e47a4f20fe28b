#include "large_pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "canvas.h"
#include "glyphs.h"

namespace velmor::pictures {

namespace {

constexpr int kButtonSize = 64;
constexpr int kStripWidth = 211;
constexpr int kBannerPictureHeight = 71;
constexpr int kLogoWidth = 764;
constexpr int kBarWidth = 1024;
constexpr int kBarHeight = 80;

// The banner's background: deep blue, lighter at the top, with a gold line at the foot.
void FillBannerBackground(QPainter& p, int width, int height) {
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(52, 104, 170));
    sky.setColorAt(0.55, kNavy);
    sky.setColorAt(1, QColor(12, 28, 62));
    p.fillRect(0, 0, width, height, sky);
    p.fillRect(0, 0, width, 1, QColor(150, 190, 235));
    p.fillRect(0, height - 3, width, 2, kGold);
}

QFont Font(int pixelSize, bool bold) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace

void DrawEmblem(QPainter& p) {
    p.save();
    // The drum.
    const QRectF drum(10, 8, 36, 46);
    QLinearGradient side(drum.left(), 0, drum.right(), 0);
    side.setColorAt(0, QColor(30, 70, 140));
    side.setColorAt(0.45, QColor(90, 150, 220));
    side.setColorAt(1, QColor(24, 56, 118));
    p.setPen(QPen(QColor(14, 32, 70), 1.5));
    p.setBrush(side);
    QPainterPath body;
    body.moveTo(drum.left(), drum.top() + 5);
    body.lineTo(drum.left(), drum.bottom() - 5);
    body.arcTo(QRectF(drum.left(), drum.bottom() - 10, drum.width(), 10), 180, 180);
    body.lineTo(drum.right(), drum.top() + 5);
    body.closeSubpath();
    p.drawPath(body);
    for (const qreal y : {drum.top() + 17, drum.top() + 29}) {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(drum.left(), y - 5, drum.width(), 10), 180 * 16, 180 * 16);
    }
    p.setBrush(QColor(150, 200, 245));
    p.drawEllipse(QRectF(drum.left(), drum.top(), drum.width(), 10));
    // The letter in front.
    p.translate(26, 30);
    p.scale(2.2, 2.2);
    DrawEnvelope(p);
    p.restore();
    // The recovery arrow round the letter.
    p.save();
    QPen arrowPen(kGold, 5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(arrowPen);
    p.setBrush(Qt::NoBrush);
    const QRectF ring(34, 26, 26, 26);
    p.drawArc(ring, 200 * 16, 250 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    QPainterPath head;
    head.moveTo(30, 36);
    head.lineTo(40, 38);
    head.lineTo(33, 46);
    head.closeSubpath();
    p.drawPath(head);
    p.restore();
}

void DrawOpenButton(QPainter& p) {
    p.save();
    p.translate(4, 6);
    p.scale(3.4, 3.4);
    DrawFolder(p, true);
    p.restore();
    p.save();
    p.setPen(QPen(QColor(0, 70, 10), 1.5));
    p.setBrush(Vertical(30, 60, QColor(120, 230, 120), QColor(20, 150, 40)));
    QPainterPath arrow;
    arrow.moveTo(30, 50);
    arrow.lineTo(44, 50);
    arrow.lineTo(44, 58);
    arrow.lineTo(61, 43);
    arrow.lineTo(44, 28);
    arrow.lineTo(44, 36);
    arrow.lineTo(30, 36);
    arrow.closeSubpath();
    p.drawPath(arrow);
    p.restore();
}

void DrawHelpButton(QPainter& p) {
    p.save();
    QRadialGradient ball(24, 20, 40);
    ball.setColorAt(0, Qt::white);
    ball.setColorAt(1, QColor(180, 205, 240));
    p.setPen(QPen(QColor(20, 50, 110), 2));
    p.setBrush(ball);
    p.drawEllipse(QRectF(5, 5, 54, 54));
    p.setPen(kBlue);
    p.setFont(Font(40, true));
    p.drawText(QRectF(5, 5, 54, 54), Qt::AlignCenter, "?");
    p.restore();
}

void DrawAboutButton(QPainter& p) {
    p.save();
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(4, 5, 56, 42), 14, 14);
    QPainterPath tail;
    tail.moveTo(16, 44);
    tail.lineTo(12, 60);
    tail.lineTo(30, 45);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    p.setPen(QPen(QColor(20, 50, 110), 2));
    p.setBrush(Vertical(5, 60, Qt::white, QColor(190, 212, 244)));
    p.drawPath(bubble);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(28, 10, 8, 8));
    p.drawRoundedRect(QRectF(28.5, 21, 7, 21), 2, 2);
    p.restore();
}

QImage FocusedState(const QImage& normal) {
    Canvas canvas(normal.width(), normal.height());
    QPainter& p = canvas.painter();
    QRadialGradient glow(normal.width() / 2.0, normal.height() / 2.0, normal.width() / 2.0);
    glow.setColorAt(0.6, QColor(255, 219, 20, 150));
    glow.setColorAt(1, QColor(255, 219, 20, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(normal.rect());
    p.drawImage(0, 0, normal);
    return canvas.Finish();
}

QImage DisabledState(const QImage& normal) {
    QImage grey = normal.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = qGray(line[x]);
            line[x] = qRgba(level, level, level, qAlpha(line[x]) / 2);
        }
    }
    return grey;
}

QImage BannerStrip() {
    Canvas canvas(kStripWidth, kBannerPictureHeight);
    FillBannerBackground(canvas.painter(), kStripWidth, kBannerPictureHeight);
    return canvas.Finish();
}

QImage BannerLogo() {
    Canvas canvas(kLogoWidth, kBannerPictureHeight);
    QPainter& p = canvas.painter();
    FillBannerBackground(p, kLogoWidth, kBannerPictureHeight);
    // A soft light behind the name.
    QRadialGradient light(kLogoWidth - 300, 20, 320);
    light.setColorAt(0, QColor(255, 255, 255, 60));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(0, 0, kLogoWidth, kBannerPictureHeight - 3, light);

    p.setPen(Qt::white);
    p.setFont(Font(30, true));
    const QRectF nameBox(kLogoWidth - 560, 6, 470, 36);
    p.drawText(nameBox, Qt::AlignRight | Qt::AlignVCenter, "Velmor");
    p.setPen(kGold);
    p.setFont(Font(17, true));
    p.drawText(QRectF(kLogoWidth - 560, 40, 470, 22), Qt::AlignRight | Qt::AlignVCenter,
               "for Exchange Server");
    p.setPen(QColor(190, 214, 245));
    p.setFont(Font(12, false));
    p.drawText(QRectF(kLogoWidth - 760, 44, 420, 20), Qt::AlignRight | Qt::AlignVCenter,
               "Mailbox recovery from damaged .EDB stores");
    p.translate(kLogoWidth - 80, 4);
    DrawEmblem(p);
    return canvas.Finish();
}

QImage AboutBanner() {
    constexpr int kWidth = 432;
    constexpr int kHeight = 60;
    Canvas canvas(kWidth, kHeight);
    QPainter& p = canvas.painter();
    FillBannerBackground(p, kWidth, kHeight);
    p.setPen(Qt::white);
    p.setFont(Font(24, true));
    p.drawText(QRectF(16, 4, 300, 30), Qt::AlignLeft | Qt::AlignVCenter, "Velmor");
    p.setPen(kGold);
    p.setFont(Font(14, true));
    p.drawText(QRectF(16, 32, 300, 20), Qt::AlignLeft | Qt::AlignVCenter, "for Exchange Server");
    p.translate(kWidth - 64, 0);
    p.scale(0.9, 0.9);
    DrawEmblem(p);
    return canvas.Finish();
}

QImage ButtonBarBackground() {
    Canvas canvas(kBarWidth, kBarHeight);
    QPainter& p = canvas.painter();
    p.fillRect(0, 0, kBarWidth, kBarHeight,
               Vertical(0, kBarHeight, QColor(250, 252, 255), QColor(208, 222, 240)));
    p.fillRect(0, 0, kBarWidth, 2, kGold);
    p.fillRect(0, 2, kBarWidth, 1, QColor(255, 255, 255));
    p.fillRect(0, kBarHeight - 1, kBarWidth, 1, QColor(160, 178, 204));
    return canvas.Finish();
}

QImage FilePageHelpIcon() {
    Canvas canvas(32, 27);
    QPainter& p = canvas.painter();
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1, 1, 30, 20), 7, 7);
    QPainterPath tail;
    tail.moveTo(7, 19);
    tail.lineTo(5, 26);
    tail.lineTo(14, 20);
    tail.closeSubpath();
    p.setPen(QPen(QColor(20, 60, 140), 1.2));
    p.setBrush(Vertical(1, 26, QColor(120, 175, 240), QColor(30, 90, 190)));
    p.drawPath(bubble.united(tail));
    p.setPen(Qt::white);
    p.setFont(Font(16, true));
    p.drawText(QRectF(1, 1, 30, 20), Qt::AlignCenter, "?");
    return canvas.Finish();
}

void DrawApplicationIcon(QPainter& p) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(0, kApplicationIconSize, QColor(60, 120, 190), kNavy));
    p.drawRoundedRect(QRectF(4, 4, kApplicationIconSize - 8, kApplicationIconSize - 8), 22, 22);
    p.translate(4, 6);
    p.scale(1.8, 1.8);
    DrawEmblem(p);
    p.restore();
}

QImage ApplicationIcon(int size) {
    Canvas canvas(size, size);
    QPainter& p = canvas.painter();
    p.scale(static_cast<qreal>(size) / kApplicationIconSize,
            static_cast<qreal>(size) / kApplicationIconSize);
    DrawApplicationIcon(p);
    return canvas.Finish();
}

}  // namespace velmor::pictures
