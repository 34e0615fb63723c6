// The toolbar's pictures, drawn as vectors so that they are sharp at every size and need no
// icon theme on the desktop. Each is designed on a 24 x 24 grid.
#include "frame/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <functional>

namespace {

const QColor kOutline(60, 60, 70);
const QColor kPaper(252, 252, 248);
const QColor kGold(230, 180, 40);
const QColor kGreen(40, 150, 70);
const QColor kRed(205, 40, 40);
const QColor kBlue(50, 100, 180);

QPen outline(qreal width = 1.2)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void page(QPainter& p, const QRectF& r)
{
    const qreal fold = r.width() * 0.35;
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawPath(path);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(215, 215, 210));
    p.drawPath(corner);
}

void star(QPainter& p, QPointF centre, qreal radius)
{
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        const qreal r = (i % 2 == 0) ? radius : radius * 0.4;
        const qreal angle = i * 3.14159265 / 4;
        const QPointF point(centre.x() + r * std::sin(angle), centre.y() - r * std::cos(angle));
        i == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    path.closeSubpath();
    p.setPen(QPen(QColor(180, 120, 0), 0.8));
    p.setBrush(QColor(255, 210, 40));
    p.drawPath(path);
}

void person(QPainter& p, const QRectF& r, const QColor& colour)
{
    p.setPen(outline(1.0));
    p.setBrush(colour);
    const qreal head = r.width() * 0.42;
    p.drawEllipse(QRectF(r.center().x() - head / 2, r.top(), head, head));
    QPainterPath body;
    const qreal top = r.top() + head * 1.05;
    body.moveTo(r.left(), r.bottom());
    body.cubicTo(r.left(), top, r.right(), top, r.right(), r.bottom());
    body.closeSubpath();
    p.drawPath(body);
}

void coin(QPainter& p, const QRectF& r)
{
    p.setPen(outline(1.0));
    QRadialGradient shine(r.center() - QPointF(r.width() * 0.2, r.height() * 0.2), r.width() * 0.7);
    shine.setColorAt(0, QColor(255, 235, 140));
    shine.setColorAt(1, kGold);
    p.setBrush(shine);
    p.drawEllipse(r);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(static_cast<int>(r.height() * 0.72));
    p.setFont(font);
    p.setPen(QColor(130, 90, 0));
    p.drawText(r, Qt::AlignCenter, QStringLiteral("$"));
}

void badge(QPainter& p, QPointF centre, bool plus)
{
    const qreal r = 4.6;
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(plus ? kGreen : kRed);
    p.drawEllipse(centre, r, r);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    if (plus) {
        p.drawLine(QPointF(centre.x() - 2.4, centre.y()), QPointF(centre.x() + 2.4, centre.y()));
        p.drawLine(QPointF(centre.x(), centre.y() - 2.4), QPointF(centre.x(), centre.y() + 2.4));
    } else {
        p.drawLine(centre + QPointF(-2, -2), centre + QPointF(2, 2));
        p.drawLine(centre + QPointF(-2, 2), centre + QPointF(2, -2));
    }
}

void funnel(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.topRight());
    path.lineTo(r.center().x() + r.width() * 0.12, r.top() + r.height() * 0.55);
    path.lineTo(r.center().x() + r.width() * 0.12, r.bottom());
    path.lineTo(r.center().x() - r.width() * 0.12, r.bottom() - r.height() * 0.12);
    path.lineTo(r.center().x() - r.width() * 0.12, r.top() + r.height() * 0.55);
    path.closeSubpath();
    p.setPen(outline());
    QLinearGradient fill(r.topLeft(), r.topRight());
    fill.setColorAt(0, QColor(120, 170, 230));
    fill.setColorAt(1, QColor(60, 110, 190));
    p.setBrush(fill);
    p.drawPath(path);
}

void folder(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(QColor(220, 170, 70));
    QPainterPath back;
    back.moveTo(2, 6);
    back.lineTo(9, 6);
    back.lineTo(11, 8);
    back.lineTo(20, 8);
    back.lineTo(20, 19);
    back.lineTo(2, 19);
    back.closeSubpath();
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(5, 11);
    front.lineTo(23, 11);
    front.lineTo(20, 19);
    front.lineTo(2, 19);
    front.closeSubpath();
    p.setBrush(QColor(250, 205, 95));
    p.drawPath(front);
}

void printer(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(6, 3, 12, 8));
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(2, 10, 20, 8), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(6, 15, 12, 6));
    p.setPen(QPen(QColor(140, 140, 140), 0.8));
    p.drawLine(QPointF(8, 17.5), QPointF(16, 17.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(19, 12.5), 1, 1);
}

void keyGlyph(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(kGold);
    p.drawEllipse(QRectF(2, 4, 10, 10));
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(5, 7, 4, 4));
    QPainterPath shaft;
    shaft.moveTo(11, 10);
    shaft.lineTo(22, 10);
    shaft.lineTo(22, 14);
    shaft.lineTo(20, 14);
    shaft.lineTo(20, 12.5);
    shaft.lineTo(18, 12.5);
    shaft.lineTo(18, 15);
    shaft.lineTo(16, 15);
    shaft.lineTo(16, 12.5);
    shaft.lineTo(11.5, 12.5);
    p.setBrush(kGold);
    p.drawPath(shaft);
}

void padlock(QPainter& p)
{
    p.setPen(QPen(kOutline, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(7, 3, 10, 12), 0, 180 * 16);
    p.drawLine(QPointF(7, 9), QPointF(7, 11));
    p.drawLine(QPointF(17, 9), QPointF(17, 11));
    p.setPen(outline());
    QLinearGradient body(QPointF(0, 11), QPointF(0, 21));
    body.setColorAt(0, QColor(120, 160, 220));
    body.setColorAt(1, kBlue);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(4, 11, 16, 10), 2, 2);
    p.setBrush(kOutline);
    p.drawEllipse(QPointF(12, 15), 1.3, 1.3);
    p.drawRect(QRectF(11.5, 15, 1, 3));
}

void list(QPainter& p)
{
    page(p, QRectF(3, 2, 18, 20));
    for (int i = 0; i < 4; ++i) {
        const qreal y = 8 + i * 3.5;
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRect(QRectF(6, y - 1, 2, 2));
        p.setPen(QPen(QColor(110, 110, 120), 1.2));
        p.drawLine(QPointF(10, y), QPointF(18, y));
    }
}

void card(QPainter& p)
{
    p.setPen(outline());
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(1.5, 4.5, 21, 15), 2, 2);
    person(p, QRectF(4, 7, 7, 10), QColor(120, 160, 220));
    p.setPen(QPen(QColor(110, 110, 120), 1.2));
    for (qreal y : {9.0, 12.0, 15.0})
        p.drawLine(QPointF(13, y), QPointF(20, y));
}

using Painter = std::function<void(QPainter&)>;

Painter painterFor(const QString& key)
{
    if (key == QLatin1String("New"))
        return [](QPainter& p) { page(p, QRectF(4, 2, 15, 20)); star(p, QPointF(18, 6), 5); };
    if (key == QLatin1String("Open"))
        return folder;
    if (key == QLatin1String("Print"))
        return printer;
    if (key == QLatin1String("Exec"))
        return keyGlyph;
    if (key == QLatin1String("Stand"))
        return padlock;
    if (key == QLatin1String("Donat"))
        return [](QPainter& p) { coin(p, QRectF(1.5, 1.5, 17, 17)); badge(p, QPointF(18, 18), true); };
    if (key == QLatin1String("AddGuy"))
        return [](QPainter& p) { person(p, QRectF(2, 2, 15, 18), kBlue); badge(p, QPointF(18, 18), true); };
    if (key == QLatin1String("DeleteD"))
        return [](QPainter& p) { coin(p, QRectF(1.5, 1.5, 17, 17)); badge(p, QPointF(18, 18), false); };
    if (key == QLatin1String("DeleteM"))
        return [](QPainter& p) { person(p, QRectF(2, 2, 15, 18), kBlue); badge(p, QPointF(18, 18), false); };
    if (key == QLatin1String("FltrMem"))
        return [](QPainter& p) { funnel(p, QRectF(1, 2, 15, 19)); person(p, QRectF(14, 10, 9, 12), kGreen); };
    if (key == QLatin1String("FltrDonat"))
        return [](QPainter& p) { funnel(p, QRectF(1, 2, 15, 19)); coin(p, QRectF(12.5, 11.5, 10.5, 10.5)); };
    if (key == QLatin1String("ListView"))
        return list;
    if (key == QLatin1String("MemView"))
        return card;
    return {};
}

QPixmap render(const Painter& paint, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 24.0, size / 24.0);
    paint(p);
    return pixmap;
}

} // namespace

QIcon ToolbarIcon(const QString& key)
{
    const Painter paint = painterFor(key);
    if (!paint)
        return {};
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(render(paint, size));
    return icon;
}
