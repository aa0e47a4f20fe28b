#include "glyphs.h"

#include <QLinearGradient>
#include <QPainterPath>

#include "canvas.h"

namespace velmor::pictures {

namespace {

QPen Edge(const QColor& color, qreal width = 1.0) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void Paper(QPainter& p, const QRectF& rect) {
    p.setPen(Edge(QColor(110, 110, 120)));
    p.setBrush(Vertical(rect.top(), rect.bottom(), Qt::white, QColor(226, 230, 238)));
    p.drawRect(rect);
}

}  // namespace

void DrawFolder(QPainter& p, bool open) {
    p.save();
    p.setPen(Edge(kFolderEdge));
    p.setBrush(kFolderYellow.darker(115));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(Vertical(6, 14, kFolderYellow.lighter(125), kFolderYellow));
    QPainterPath front;
    if (open) {
        front.moveTo(3.5, 7.5);
        front.lineTo(15.5, 7.5);
        front.lineTo(13.5, 13.5);
        front.lineTo(1.5, 13.5);
    } else {
        front.addRect(QRectF(1.5, 6.5, 13, 7));
    }
    front.closeSubpath();
    p.drawPath(front);
    p.restore();
}

void DrawCalendar(QPainter& p) {
    p.save();
    Paper(p, QRectF(1.5, 2.5, 13, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawRect(QRectF(2, 3, 12, 3));
    p.setBrush(QColor(90, 90, 110));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            p.drawRect(QRectF(3 + column * 2.8, 7.5 + row * 2.2, 1.6, 1.4));
        }
    }
    p.setBrush(kInk);
    p.drawRect(QRectF(4, 1, 1.5, 3));
    p.drawRect(QRectF(10.5, 1, 1.5, 3));
    p.restore();
}

void DrawContactCard(QPainter& p) {
    p.save();
    p.setPen(Edge(QColor(70, 90, 130)));
    p.setBrush(Vertical(3, 14, QColor(236, 242, 252), QColor(196, 212, 236)));
    p.drawRoundedRect(QRectF(0.5, 2.5, 15, 11), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(2.5, 4.5, 4, 4));
    QPainterPath shoulders;
    shoulders.moveTo(1.8, 12.5);
    shoulders.cubicTo(2, 8.5, 7, 8.5, 7.2, 12.5);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setBrush(QColor(110, 120, 140));
    p.drawRect(QRectF(9, 5, 5, 1.2));
    p.drawRect(QRectF(9, 7.5, 4, 1.2));
    p.drawRect(QRectF(9, 10, 5, 1.2));
    p.restore();
}

void DrawTaskList(QPainter& p) {
    p.save();
    Paper(p, QRectF(2.5, 1.5, 11, 13.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 90, 50));
    p.drawRoundedRect(QRectF(5.5, 0.5, 5, 2.5), 1, 1);
    p.setPen(Edge(kGreen, 1.4));
    for (int row = 0; row < 3; ++row) {
        const qreal y = 5.5 + row * 3.2;
        p.drawLine(QPointF(4, y), QPointF(5, y + 1));
        p.drawLine(QPointF(5, y + 1), QPointF(6.8, y - 1));
    }
    p.setPen(Edge(QColor(110, 120, 140), 1.1));
    for (int row = 0; row < 3; ++row) {
        const qreal y = 5.5 + row * 3.2;
        p.drawLine(QPointF(8, y), QPointF(12, y));
    }
    p.restore();
}

void DrawStickyNote(QPainter& p) {
    p.save();
    QPainterPath note;
    note.moveTo(1.5, 1.5);
    note.lineTo(14.5, 1.5);
    note.lineTo(14.5, 10.5);
    note.lineTo(10.5, 14.5);
    note.lineTo(1.5, 14.5);
    note.closeSubpath();
    p.setPen(Edge(QColor(190, 160, 20)));
    p.setBrush(Vertical(1, 15, QColor(255, 246, 140), QColor(250, 224, 60)));
    p.drawPath(note);
    QPainterPath fold;
    fold.moveTo(14.5, 10.5);
    fold.lineTo(10.5, 10.5);
    fold.lineTo(10.5, 14.5);
    fold.closeSubpath();
    p.setBrush(QColor(220, 190, 40));
    p.drawPath(fold);
    p.setPen(Edge(QColor(170, 140, 40), 0.9));
    p.drawLine(QPointF(4, 5), QPointF(12, 5));
    p.drawLine(QPointF(4, 7.5), QPointF(12, 7.5));
    p.drawLine(QPointF(4, 10), QPointF(8.5, 10));
    p.restore();
}

void DrawTrashCan(QPainter& p) {
    p.save();
    p.setPen(Edge(QColor(80, 86, 96)));
    p.setBrush(Vertical(4, 15, QColor(214, 220, 228), QColor(150, 158, 170)));
    QPainterPath body;
    body.moveTo(3.5, 4.5);
    body.lineTo(12.5, 4.5);
    body.lineTo(11.5, 14.5);
    body.lineTo(4.5, 14.5);
    body.closeSubpath();
    p.drawPath(body);
    p.drawRoundedRect(QRectF(2, 2.5, 12, 2), 0.8, 0.8);
    p.drawLine(QPointF(6.5, 2.5), QPointF(7, 1));
    p.drawLine(QPointF(7, 1), QPointF(9, 1));
    p.drawLine(QPointF(9, 1), QPointF(9.5, 2.5));
    p.setPen(Edge(QColor(100, 106, 118), 0.9));
    for (const qreal x : {6.0, 8.0, 10.0}) {
        p.drawLine(QPointF(x, 6.5), QPointF(x, 12.8));
    }
    p.restore();
}

void DrawDraft(QPainter& p) {
    p.save();
    Paper(p, QRectF(1.5, 1.5, 10, 13));
    p.setPen(Edge(QColor(140, 150, 170), 0.9));
    for (int row = 0; row < 4; ++row) {
        p.drawLine(QPointF(3.5, 4.5 + row * 2.5), QPointF(9.5, 4.5 + row * 2.5));
    }
    p.translate(11, 9);
    p.rotate(40);
    p.setPen(Edge(QColor(120, 80, 20), 0.8));
    p.setBrush(QColor(250, 190, 60));
    p.drawRect(QRectF(-1.4, -7, 2.8, 9));
    p.setBrush(QColor(240, 210, 170));
    QPainterPath tip;
    tip.moveTo(-1.4, 2);
    tip.lineTo(1.4, 2);
    tip.lineTo(0, 4.8);
    tip.closeSubpath();
    p.drawPath(tip);
    p.restore();
}

void DrawEnvelope(QPainter& p) {
    p.save();
    p.setPen(Edge(QColor(60, 90, 140)));
    p.setBrush(Vertical(3, 13, Qt::white, QColor(214, 226, 244)));
    p.drawRect(QRectF(1.5, 3.5, 13, 9));
    p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
    p.drawLine(QPointF(8, 9), QPointF(14.5, 3.5));
    p.restore();
}

void DrawOutbox(QPainter& p) {
    p.save();
    p.scale(0.85, 0.85);
    p.translate(0, 3);
    DrawEnvelope(p);
    p.restore();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    QPainterPath arrow;
    arrow.moveTo(8.5, 2.5);
    arrow.lineTo(12, 2.5);
    arrow.lineTo(12, 0.5);
    arrow.lineTo(15.8, 4);
    arrow.lineTo(12, 7.5);
    arrow.lineTo(12, 5.5);
    arrow.lineTo(8.5, 5.5);
    arrow.closeSubpath();
    p.drawPath(arrow);
    p.restore();
}

void DrawJournal(QPainter& p) {
    p.save();
    p.setPen(Edge(QColor(30, 50, 100)));
    p.setBrush(Vertical(1, 15, QColor(80, 130, 200), QColor(30, 70, 140)));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 40, 80));
    p.drawRect(QRectF(2.5, 1.5, 2, 13));
    p.setBrush(kCream);
    p.drawRect(QRectF(6, 4, 6, 3));
    p.restore();
}

void DrawInbox(QPainter& p) {
    p.save();
    p.setPen(Edge(QColor(60, 80, 110)));
    p.setBrush(Vertical(7, 15, QColor(200, 214, 236), QColor(130, 150, 184)));
    QPainterPath tray;
    tray.moveTo(1.5, 9.5);
    tray.lineTo(5, 9.5);
    tray.lineTo(6, 11.5);
    tray.lineTo(10, 11.5);
    tray.lineTo(11, 9.5);
    tray.lineTo(14.5, 9.5);
    tray.lineTo(14.5, 14.5);
    tray.lineTo(1.5, 14.5);
    tray.closeSubpath();
    p.drawPath(tray);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    QPainterPath arrow;
    arrow.moveTo(6.5, 0.5);
    arrow.lineTo(9.5, 0.5);
    arrow.lineTo(9.5, 5);
    arrow.lineTo(12, 5);
    arrow.lineTo(8, 9.5);
    arrow.lineTo(4, 5);
    arrow.lineTo(6.5, 5);
    arrow.closeSubpath();
    p.drawPath(arrow);
    p.restore();
}

void DrawSearchFolder(QPainter& p) {
    DrawFolder(p, false);
    p.save();
    p.setPen(Edge(QColor(50, 50, 60), 1.6));
    p.setBrush(QColor(210, 235, 255, 220));
    p.drawEllipse(QRectF(6.5, 6.5, 5.5, 5.5));
    p.setPen(Edge(QColor(50, 50, 60), 2.2));
    p.drawLine(QPointF(11.5, 11.5), QPointF(14.5, 14.5));
    p.restore();
}

void DrawMailboxOwner(QPainter& p) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(0, 10, QColor(90, 150, 220), kBlue));
    p.drawEllipse(QRectF(1.5, 0.5, 6, 6));
    QPainterPath body;
    body.moveTo(0.5, 14.5);
    body.cubicTo(0.5, 7, 8.5, 7, 8.5, 14.5);
    body.closeSubpath();
    p.drawPath(body);
    p.translate(6, 6);
    p.scale(0.62, 0.62);
    DrawEnvelope(p);
    p.restore();
}

void DrawMarkedMail(QPainter& p) {
    DrawEnvelope(p);
    p.save();
    p.setPen(Edge(QColor(70, 50, 30), 1.2));
    p.drawLine(QPointF(11.5, 15.5), QPointF(11.5, 0.8));
    p.setPen(Edge(QColor(150, 20, 20), 0.8));
    p.setBrush(kRed);
    QPainterPath flag;
    flag.moveTo(12, 1);
    flag.lineTo(15.5, 2.8);
    flag.lineTo(12, 4.8);
    flag.closeSubpath();
    p.drawPath(flag);
    p.restore();
}

void DrawInformationSign(QPainter& p) {
    p.save();
    p.setPen(Edge(QColor(20, 60, 140)));
    p.setBrush(Vertical(0, 16, QColor(110, 170, 240), QColor(30, 90, 190)));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6.8, 2.8, 2.4, 2.4));
    p.drawRoundedRect(QRectF(6.9, 6.2, 2.2, 7), 0.6, 0.6);
    p.restore();
}

void DrawCheckMark(QPainter& p) {
    p.save();
    p.setPen(Edge(QColor(0, 110, 20), 3.2));
    p.drawLine(QPointF(2.5, 8.5), QPointF(6.5, 12.5));
    p.drawLine(QPointF(6.5, 12.5), QPointF(13.5, 3.5));
    p.setPen(Edge(QColor(60, 200, 80), 1.6));
    p.drawLine(QPointF(2.5, 8.5), QPointF(6.5, 12.5));
    p.drawLine(QPointF(6.5, 12.5), QPointF(13.5, 3.5));
    p.restore();
}

}  // namespace velmor::pictures
