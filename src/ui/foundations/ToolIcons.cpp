#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ToolIcons {

namespace {

const QColor kInk(0x1f, 0x4e, 0x79);
const QColor kAccent(0x0f, 0x8a, 0x6a);
const QColor kWarn(0xb0, 0x3a, 0x2e);

void drawBox(QPainter& p, const QRectF& r, bool checked, const QColor& tick) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 1.5, 1.5);
    if (!checked)
        return;
    QPainterPath path;
    path.moveTo(r.left() + r.width() * 0.2, r.top() + r.height() * 0.55);
    path.lineTo(r.left() + r.width() * 0.42, r.top() + r.height() * 0.78);
    path.lineTo(r.left() + r.width() * 0.82, r.top() + r.height() * 0.25);
    p.setPen(QPen(tick, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QPixmap draw(Kind kind, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (kind) {
    case Kind::Letter: {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(0xfd, 0xf6, 0xe3));
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
        p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
        break;
    }
    case Kind::Email: {
        p.setPen(QPen(kAccent, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
        QPainterPath path;
        path.arcMoveTo(QRectF(1.5, 1.5, 13, 13), 0);
        path.moveTo(10.5, 8);
        path.cubicTo(10.5, 12, 14.5, 12, 14.5, 8);
        path.arcTo(QRectF(1.5, 1.5, 13, 13), 0, 300);
        p.drawPath(path);
        break;
    }
    case Kind::Search: {
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(0xe8, 0xf1, 0xfa));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        break;
    }
    case Kind::Filter: {
        QPainterPath funnel;
        funnel.moveTo(1.5, 2.5);
        funnel.lineTo(14.5, 2.5);
        funnel.lineTo(9.5, 8.5);
        funnel.lineTo(9.5, 14);
        funnel.lineTo(6.5, 12.5);
        funnel.lineTo(6.5, 8.5);
        funnel.closeSubpath();
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(0xcf, 0xe3, 0xf5));
        p.drawPath(funnel);
        break;
    }
    case Kind::MarkText: {
        p.setPen(QPen(kInk, 1.2));
        for (int y : {4, 8, 12})
            p.drawLine(QPointF(7, y), QPointF(15, y));
        drawBox(p, QRectF(0.5, 5.5, 5.5, 5.5), true, kAccent);
        break;
    }
    case Kind::MarkAll:
    case Kind::UnmarkAll: {
        const bool marked = kind == Kind::MarkAll;
        drawBox(p, QRectF(4.5, 0.5, 10, 10), marked, marked ? kAccent : kWarn);
        drawBox(p, QRectF(1.5, 5.5, 10, 10), marked, marked ? kAccent : kWarn);
        if (!marked) {
            p.setPen(QPen(kWarn, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(4, 8), QPointF(9, 13));
            p.drawLine(QPointF(9, 8), QPointF(4, 13));
        }
        break;
    }
    case Kind::First:
    case Kind::Last: {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        QPolygonF triangle;
        if (kind == Kind::First) {
            p.drawRect(QRectF(2, 3, 2, 10));
            triangle << QPointF(14, 3) << QPointF(14, 13) << QPointF(5, 8);
        } else {
            p.drawRect(QRectF(12, 3, 2, 10));
            triangle << QPointF(2, 3) << QPointF(2, 13) << QPointF(11, 8);
        }
        p.drawPolygon(triangle);
        break;
    }
    }
    return pixmap;
}

} // namespace

QIcon icon(Kind kind) {
    QIcon result;
    for (int size : {16, 24, 32})
        result.addPixmap(draw(kind, size));
    return result;
}

} // namespace ToolIcons
