#include "app/painted_icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace lumorra {

namespace {

struct TileColors {
    QColor top;
    QColor bottom;
};

QPixmap blankPixmap(int w, int h, qreal dpr)
{
    QPixmap pm(int(w * dpr), int(h * dpr));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

// A rounded tile with a soft gradient and a thin light rim; the glyph is
// drawn on top in a 48 x 48 design grid.
void paintTile(QPainter& p, int size, const TileColors& c)
{
    const QRectF r(1, 1, size - 2, size - 2);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, c.top);
    g.setColorAt(1, c.bottom);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, size * 0.23, size * 0.23);
    // Gloss on the upper half.
    QPainterPath gloss;
    gloss.addRoundedRect(QRectF(3, 3, size - 6, size * 0.45), size * 0.2, size * 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 38));
    p.drawPath(gloss);
}

void glyphCloud(QPainter& p)
{
    QPainterPath cloud;
    cloud.addEllipse(QPointF(18, 26), 7.5, 7.5);
    cloud.addEllipse(QPointF(26, 21), 9.5, 9.5);
    cloud.addEllipse(QPointF(33, 27), 6.5, 6.5);
    cloud.addRoundedRect(QRectF(11, 25, 29, 9), 4.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(cloud.simplified());
    // Download arrow.
    QPen pen(QColor(31, 95, 209), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.drawLine(QPointF(25, 21), QPointF(25, 31));
    p.drawPolyline(QPolygonF({QPointF(21, 27.5), QPointF(25, 31.5), QPointF(29, 27.5)}));
}

void glyphFilm(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath strip;
    strip.addRoundedRect(QRectF(11, 13, 26, 22), 3, 3);
    for (int i = 0; i < 4; ++i) {
        strip.addRect(QRectF(13, 15.5 + i * 5, 3, 2.6));
        strip.addRect(QRectF(32, 15.5 + i * 5, 3, 2.6));
    }
    strip.setFillRule(Qt::OddEvenFill);
    p.drawPath(strip);
    p.setBrush(QColor(224, 67, 43));
    p.drawPolygon(QPolygonF({QPointF(21, 18.5), QPointF(29, 24), QPointF(21, 29.5)}));
}

void glyphApps(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 12, 10.5, 10.5), 2.5, 2.5);
    p.drawRoundedRect(QRectF(25.5, 12, 10.5, 10.5), 2.5, 2.5);
    p.drawRoundedRect(QRectF(12, 25.5, 10.5, 10.5), 2.5, 2.5);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QRectF(25.5, 25.5, 10.5, 10.5));
}

void glyphBook(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath left;
    left.moveTo(24, 16);
    left.cubicTo(20, 13, 15, 13, 11, 14);
    left.lineTo(11, 33);
    left.cubicTo(15, 32, 20, 32, 24, 35);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(24, 16);
    right.cubicTo(28, 13, 33, 13, 37, 14);
    right.lineTo(37, 33);
    right.cubicTo(33, 32, 28, 32, 24, 35);
    right.closeSubpath();
    p.drawPath(left);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawPath(right);
    QPen line(QColor(217, 139, 11), 1.4, Qt::SolidLine, Qt::RoundCap);
    p.setPen(line);
    for (int i = 0; i < 3; ++i) {
        p.drawLine(QPointF(14, 19 + i * 4), QPointF(21, 19.6 + i * 4));
        p.drawLine(QPointF(27, 19.6 + i * 4), QPointF(34, 19 + i * 4));
    }
}

void glyphCap(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(24, 12), QPointF(39, 19), QPointF(24, 26), QPointF(9, 19)}));
    QPainterPath body;
    body.moveTo(15, 22.5);
    body.lineTo(15, 30);
    body.cubicTo(19, 35, 29, 35, 33, 30);
    body.lineTo(33, 22.5);
    body.lineTo(24, 27);
    body.closeSubpath();
    p.drawPath(body);
    QPen tassel(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap);
    p.setPen(tassel);
    p.drawLine(QPointF(37, 20), QPointF(37, 30));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(37, 31), 1.8, 1.8);
}

void glyphLayers(QPainter& p)
{
    p.setPen(Qt::NoPen);
    const QColor shades[3] = {QColor(255, 255, 255, 140), QColor(255, 255, 255, 190), Qt::white};
    for (int i = 2; i >= 0; --i) {
        const qreal y = 13 + i * 6;
        p.setBrush(shades[2 - i]);
        p.drawPolygon(QPolygonF({QPointF(24, y), QPointF(37, y + 6), QPointF(24, y + 12),
                                 QPointF(11, y + 6)}));
    }
}

void glyphTv(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath screen;
    screen.addRoundedRect(QRectF(10, 14, 28, 19), 3, 3);
    p.drawPath(screen);
    p.drawRoundedRect(QRectF(18, 35, 12, 2.6), 1.3, 1.3);
    QPen ant(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap);
    p.setPen(ant);
    p.drawLine(QPointF(20, 9), QPointF(24, 14));
    p.drawLine(QPointF(28, 9), QPointF(24, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 46, 99));
    p.drawPolygon(QPolygonF({QPointF(21, 18.5), QPointF(29, 23.5), QPointF(21, 28.5)}));
}

void glyphInfo(QPainter& p)
{
    p.setPen(QPen(Qt::white, 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(24, 24), 12.5, 12.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(24, 17.5), 2.1, 2.1);
    p.drawRoundedRect(QRectF(22.2, 21.5, 3.6, 10.5), 1.5, 1.5);
}

const TileColors kNavColors[8] = {
    {QColor(0x4d, 0x9a, 0xff), QColor(0x1f, 0x5f, 0xd1)},
    {QColor(0xff, 0x8a, 0x5b), QColor(0xe0, 0x43, 0x2b)},
    {QColor(0x45, 0xcf, 0x83), QColor(0x1c, 0x9a, 0x55)},
    {QColor(0xf7, 0xc2, 0x4a), QColor(0xd9, 0x8b, 0x0b)},
    {QColor(0xa8, 0x7d, 0xf5), QColor(0x6c, 0x3f, 0xd1)},
    {QColor(0x33, 0xcc, 0xd3), QColor(0x11, 0x90, 0x9a)},
    {QColor(0xff, 0x6f, 0x99), QColor(0xd6, 0x2e, 0x63)},
    {QColor(0x80, 0x93, 0xad), QColor(0x46, 0x56, 0x6e)},
};

} // namespace

QPixmap navigationIcon(int index, int size, qreal dpr)
{
    QPixmap pm = blankPixmap(size, size, dpr);
    if (index < 0 || index > 7)
        return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paintTile(p, size, kNavColors[index]);
    p.scale(size / 48.0, size / 48.0);
    switch (index) {
    case 0: glyphCloud(p); break;
    case 1: glyphFilm(p); break;
    case 2: glyphApps(p); break;
    case 3: glyphBook(p); break;
    case 4: glyphCap(p); break;
    case 5: glyphLayers(p); break;
    case 6: glyphTv(p); break;
    case 7: glyphInfo(p); break;
    }
    return pm;
}

namespace {

// The emblem in a 42 x 42 design box at (8, 8) of the logo.
void paintEmblem(QPainter& p, const QRectF& box)
{
    const qreal k = box.width() / 42.0;
    auto at = [&](qreal x, qreal y) { return QPointF(box.left() + (x - 8) * k, box.top() + (y - 8) * k); };
    QLinearGradient g(at(8, 7), at(50, 51));
    g.setColorAt(0, QColor(0xff, 0xb3, 0x47));
    g.setColorAt(1, QColor(0xf0, 0x6a, 0x1d));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(box);
    // Small sizes keep a stroke of at least a pixel and a half.
    p.setPen(QPen(Qt::white, qMax(1.5, 3.6 * k), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at(27, 27), 9 * k, 9 * k);
    p.drawLine(at(33.8, 33.8), at(40.5, 40.5));
}

} // namespace

QImage programIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size / 32.0;
    paintEmblem(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    return image;
}

QPixmap makerLogo(qreal dpr)
{
    const int w = 178, h = 58;
    QPixmap pm = blankPixmap(w, h, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // A light plate keeps the logo readable on every skin's bar colour.
    p.setPen(QPen(QColor(0, 0, 0, 40), 1));
    p.setBrush(QColor(255, 255, 255, 232));
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 14, 14);

    // Emblem: a magnifier in an orange disc, the program's "search everything".
    paintEmblem(p, QRectF(8, 8, 42, 42));

    QFont title(QStringLiteral("WenQuanYi Micro Hei"));
    title.setPixelSize(23);
    title.setBold(true);
    p.setFont(title);
    QLinearGradient ink(QPointF(0, 10), QPointF(0, 32));
    ink.setColorAt(0, QColor(0x2a, 0x4a, 0x78));
    ink.setColorAt(1, QColor(0x16, 0x2c, 0x4c));
    p.setPen(QPen(QBrush(ink), 1));
    p.drawText(QPointF(58, 30), QStringLiteral("Lumorra"));

    QFont sub(QStringLiteral("WenQuanYi Micro Hei"));
    sub.setPixelSize(12);
    p.setFont(sub);
    p.setPen(QColor(0xd9, 0x6a, 0x1a));
    p.drawText(QPointF(60, 47), QStringLiteral("2014 · 搜你所想"));
    return pm;
}

QPixmap shareIcon(int index, int size, qreal dpr)
{
    static const TileColors colors[6] = {
        {QColor(0x4d, 0xb6, 0xff), QColor(0x12, 0x7f, 0xd6)},
        {QColor(0xff, 0xd2, 0x4d), QColor(0xf0, 0x9a, 0x10)},
        {QColor(0x5a, 0xc8, 0xfa), QColor(0x1a, 0x8c, 0xc4)},
        {QColor(0xff, 0x6b, 0x5b), QColor(0xd8, 0x2c, 0x20)},
        {QColor(0x4f, 0x8c, 0xe8), QColor(0x22, 0x58, 0xb5)},
        {QColor(0x6f, 0x8c, 0xff), QColor(0x3a, 0x4f, 0xd0)},
    };
    static const char16_t glyphs[6] = {u'友', u'空', u'腾', u'新', u'人', u'吧'};
    QPixmap pm = blankPixmap(size, size, dpr);
    if (index < 0 || index > 5)
        return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintTile(p, size, colors[index]);
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(int(size * 0.5));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QString(QChar(glyphs[index])));
    return pm;
}

} // namespace lumorra
