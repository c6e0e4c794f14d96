#include "widgets/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

namespace zeko::artwork {

namespace {

constexpr int kTile = 80;

const QColor kAsphalt(96, 96, 100);
const QColor kKerb(150, 150, 150);
const QColor kStripe(230, 210, 90);
const QColor kGround(28, 36, 28);
const QColor kLimit(20, 20, 110);

QPixmap blank(int w, int h, const QColor& fill = Qt::transparent) {
    QPixmap p(w, h);
    p.fill(fill);
    return p;
}

void street_ew(QPainter& g) {
    g.fillRect(0, 20, kTile, 40, kAsphalt);
    g.fillRect(0, 18, kTile, 2, kKerb);
    g.fillRect(0, 60, kTile, 2, kKerb);
    g.setPen(QPen(kStripe, 2, Qt::DashLine));
    g.drawLine(0, 40, kTile, 40);
}

void street_ns(QPainter& g) {
    g.fillRect(20, 0, 40, kTile, kAsphalt);
    g.fillRect(18, 0, 2, kTile, kKerb);
    g.fillRect(60, 0, 2, kTile, kKerb);
    g.setPen(QPen(kStripe, 2, Qt::DashLine));
    g.drawLine(40, 0, 40, kTile);
}

// A building seen from above: a roof of the given colour with a darker ridge.
void building(QPainter& g, const QColor& roof, const QRect& r = QRect(10, 10, 60, 60)) {
    g.fillRect(QRect(0, 0, kTile, kTile), kGround);
    g.setPen(QPen(roof.darker(180), 2));
    g.setBrush(roof);
    g.drawRect(r);
    g.setPen(QPen(roof.darker(140), 3));
    g.drawLine(r.left() + 4, r.center().y(), r.right() - 4, r.center().y());
}

void sign(QPainter& g, const QString& text, const QColor& ink, int size = 22) {
    QFont f("DejaVu Sans", size, QFont::Bold);
    f.setPixelSize(size);
    g.setFont(f);
    g.setPen(ink);
    g.drawText(QRect(0, 0, kTile, kTile), Qt::AlignCenter, text);
}

void wall(QPainter& g, bool north, bool east, bool south, bool west) {
    g.fillRect(QRect(0, 0, kTile, kTile), kLimit);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(70, 70, 160));
    if (north) g.drawRect(0, 0, kTile, 14);
    if (south) g.drawRect(0, kTile - 14, kTile, 14);
    if (west) g.drawRect(0, 0, 14, kTile);
    if (east) g.drawRect(kTile - 14, 0, 14, kTile);
    g.setPen(QPen(QColor(140, 140, 220), 2));
    for (int i = 8; i < kTile; i += 16) {
        if (north) g.drawLine(i, 0, i, 14);
        if (south) g.drawLine(i, kTile - 14, i, kTile);
        if (west) g.drawLine(0, i, 14, i);
        if (east) g.drawLine(kTile - 14, i, kTile, i);
    }
}

QPixmap draw_tile(int index) {
    QPixmap p = blank(kTile, kTile, kGround);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    switch (index) {
        case 1:  // crossing
            g.fillRect(0, 20, kTile, 40, kAsphalt);
            g.fillRect(20, 0, 40, kTile, kAsphalt);
            g.setPen(QPen(Qt::white, 3));
            for (int i = 24; i < 58; i += 8) {
                g.drawLine(i, 14, i, 19);
                g.drawLine(i, 61, i, 66);
                g.drawLine(14, i, 19, i);
                g.drawLine(61, i, 66, i);
            }
            break;
        case 4:
            street_ew(g);
            break;
        case 7:
            street_ns(g);
            break;
        case 11:  // bank
            building(g, QColor(40, 60, 170));
            sign(g, "$", QColor(250, 220, 80), 34);
            break;
        case 12: {  // pub
            building(g, QColor(200, 110, 20));
            g.setPen(QPen(Qt::white, 2));
            g.setBrush(QColor(240, 190, 40));
            g.drawRect(30, 28, 18, 26);
            g.setBrush(Qt::white);
            g.drawEllipse(QPointF(39, 27), 10, 5);
            g.setBrush(Qt::NoBrush);
            g.drawArc(44, 33, 10, 14, -90 * 16, 180 * 16);
            break;
        }
        case 14: {  // transit station
            building(g, QColor(180, 20, 20), QRect(8, 8, 64, 64));
            g.setPen(QPen(Qt::white, 3));
            g.setBrush(Qt::NoBrush);
            g.drawEllipse(QPointF(40, 40), 20, 20);
            g.drawLine(24, 40, 56, 40);
            break;
        }
        case 15:  // hall
            building(g, QColor(90, 20, 140));
            g.setPen(QPen(QColor(230, 200, 255), 2));
            for (int x = 20; x <= 60; x += 10)
                g.drawLine(x, 24, x, 58);
            g.drawLine(16, 22, 64, 22);
            break;
        case 16:  // user building
            building(g, QColor(20, 130, 130));
            g.fillRect(26, 26, 10, 10, QColor(200, 240, 240));
            g.fillRect(44, 26, 10, 10, QColor(200, 240, 240));
            g.fillRect(26, 44, 10, 10, QColor(200, 240, 240));
            g.fillRect(44, 44, 10, 10, QColor(200, 240, 240));
            break;
        case 17:  // the grey user building
            building(g, QColor(72, 72, 72));
            sign(g, "?", QColor(200, 200, 200), 30);
            break;
        case 18: {  // guild
            building(g, QColor(140, 20, 20));
            QPolygonF shield;
            shield << QPointF(40, 20) << QPointF(58, 28) << QPointF(54, 50) << QPointF(40, 62)
                   << QPointF(26, 50) << QPointF(22, 28);
            g.setPen(QPen(QColor(240, 200, 80), 2));
            g.setBrush(QColor(90, 10, 10));
            g.drawPolygon(shield);
            break;
        }
        case 19:
            wall(g, true, false, false, true);
            break;
        case 20:
            wall(g, true, false, false, false);
            break;
        case 21:
            wall(g, true, true, false, false);
            break;
        case 22:
            wall(g, false, true, false, false);
            break;
        case 23:
            wall(g, false, true, true, false);
            break;
        case 24:
            wall(g, false, false, true, false);
            break;
        case 25:
            wall(g, false, false, true, true);
            break;
        case 26:
            wall(g, false, false, false, true);
            break;
        case 27: {  // the wastes
            g.fillRect(QRect(0, 0, kTile, kTile), QColor(92, 60, 34));
            g.setPen(Qt::NoPen);
            for (int i = 0; i < 14; ++i) {
                int x = (i * 37) % kTile, y = (i * 53 + 11) % kTile;
                g.setBrush(QColor(120 + (i * 7) % 40, 80 + (i * 5) % 30, 40));
                g.drawEllipse(QPointF(x, y), 3 + i % 4, 2 + i % 3);
            }
            break;
        }
        case 8:  // plain block
        default: {
            g.fillRect(QRect(0, 0, kTile, kTile), kGround);
            g.setPen(QPen(QColor(50, 64, 50), 1));
            for (int i = 10; i < kTile; i += 20) {
                g.drawLine(i, 0, i, kTile);
                g.drawLine(0, i, kTile, i);
            }
            break;
        }
    }
    return p;
}

enum class Glyph { Back, Forward, Refresh, Stop, Config, Camera, HtmlCss, Html };

void draw_arrow(QPainter& g, QPointF from, QPointF to) {
    g.drawLine(from, to);
    QLineF l(to, from);
    QLineF a = l;
    a.setLength(8);
    a.setAngle(l.angle() + 35);
    QLineF b = l;
    b.setLength(8);
    b.setAngle(l.angle() - 35);
    g.drawLine(a);
    g.drawLine(b);
}

void draw_glyph(QPainter& g, Glyph glyph, const QRectF& r, const QColor& ink) {
    g.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    QPointF c = r.center();
    qreal s = r.width() / 2 - 6;
    switch (glyph) {
        case Glyph::Back:
            draw_arrow(g, QPointF(c.x() + s, c.y()), QPointF(c.x() - s, c.y()));
            break;
        case Glyph::Forward:
            draw_arrow(g, QPointF(c.x() - s, c.y()), QPointF(c.x() + s, c.y()));
            break;
        case Glyph::Refresh: {
            QRectF arc(c.x() - s + 2, c.y() - s + 2, 2 * s - 4, 2 * s - 4);
            g.drawArc(arc, 30 * 16, 290 * 16);
            QPointF tip(arc.right(), c.y() - 2);
            g.drawLine(tip, tip + QPointF(-6, -5));
            g.drawLine(tip, tip + QPointF(5, -6));
            break;
        }
        case Glyph::Stop: {
            g.setBrush(QColor(200, 30, 30));
            g.setPen(QPen(ink, 2));
            QPolygonF oct;
            for (int i = 0; i < 8; ++i)
                oct << c + QPointF(s * qCos(qDegreesToRadians(22.5 + 45 * i)),
                                   s * qSin(qDegreesToRadians(22.5 + 45 * i)));
            g.drawPolygon(oct);
            g.setPen(QPen(Qt::white, 3));
            g.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
            g.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
            break;
        }
        case Glyph::Config: {
            g.setPen(QPen(ink, 4, Qt::SolidLine, Qt::FlatCap));
            for (int i = 0; i < 8; ++i) {
                qreal a = qDegreesToRadians(45.0 * i);
                g.drawLine(c + QPointF(qCos(a) * (s - 6), qSin(a) * (s - 6)),
                           c + QPointF(qCos(a) * s, qSin(a) * s));
            }
            g.setPen(QPen(ink, 3));
            g.drawEllipse(c, s - 7, s - 7);
            g.drawEllipse(c, 3, 3);
            break;
        }
        case Glyph::Camera: {
            QRectF body(c.x() - s, c.y() - s / 2, 2 * s, s * 1.3);
            g.drawRoundedRect(body, 3, 3);
            g.drawRect(QRectF(c.x() - 4, body.top() - 4, 8, 4));
            g.drawEllipse(QPointF(c.x(), body.center().y()), s / 2.2, s / 2.2);
            break;
        }
        case Glyph::HtmlCss:
        case Glyph::Html: {
            // A page with its markup on it; the style-sheet dump shows braces as well.
            QRectF page(c.x() - s, c.y() - s - 1, 2 * s, 2 * s + 2);
            g.setBrush(QColor(240, 240, 240));
            g.setPen(QPen(ink, 1.5));
            g.drawRect(page);
            // Chevrons and a slash, drawn rather than written so they read at this size.
            const qreal top = glyph == Glyph::Html ? c.y() : page.top() + page.height() * 0.32;
            g.setPen(QPen(QColor(20, 110, 20), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            g.setBrush(Qt::NoBrush);
            g.drawPolyline(QPolygonF() << QPointF(c.x() - 3, top - 4) << QPointF(c.x() - 7, top)
                                       << QPointF(c.x() - 3, top + 4));
            g.drawPolyline(QPolygonF() << QPointF(c.x() + 3, top - 4) << QPointF(c.x() + 7, top)
                                       << QPointF(c.x() + 3, top + 4));
            g.drawLine(QPointF(c.x() + 1, top - 4), QPointF(c.x() - 1, top + 4));
            if (glyph == Glyph::HtmlCss) {
                QFont f("DejaVu Sans Mono");
                f.setPixelSize(10);
                f.setBold(true);
                g.setFont(f);
                g.setPen(QColor(30, 60, 170));
                g.drawText(page.adjusted(0, page.height() / 2, 0, 0), Qt::AlignCenter, "{}");
            }
            break;
        }
    }
}

QPixmap draw_toolbar(int index) {
    const int side = 32;
    bool pressed = index > 8;
    int button = (index - 1) % 8;
    QPixmap p = blank(side, side);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, side);
    bg.setColorAt(0, pressed ? QColor(0, 40, 0) : QColor(40, 110, 40));
    bg.setColorAt(1, pressed ? QColor(0, 70, 0) : QColor(0, 60, 0));
    g.setBrush(bg);
    g.setPen(QPen(pressed ? QColor(0, 20, 0) : QColor(128, 255, 128), 1));
    g.drawRoundedRect(QRectF(0.5, 0.5, side - 1, side - 1), 5, 5);
    QRectF r(0, 0, side, side);
    if (pressed) r.translate(1, 1);
    draw_glyph(g, static_cast<Glyph>(button), r, pressed ? QColor(170, 230, 170) : Qt::white);
    return p;
}

QPixmap draw_distance(int index) {
    const int w = 40, h = 33;
    bool selected = index >= 3;
    int rank = index % 3;
    QPixmap p = blank(w, h);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(selected ? QColor(128, 255, 128) : QColor(0, 70, 0));
    g.setPen(QPen(selected ? Qt::white : QColor(128, 255, 128), 2));
    g.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 6, 6);
    QFont f("DejaVu Sans", 11, QFont::Bold);
    f.setPixelSize(14);
    g.setFont(f);
    g.setPen(selected ? QColor(0, 48, 0) : QColor(128, 255, 128));
    static const char* kRank[] = {"1st", "2nd", "3rd"};
    g.drawText(QRect(0, 0, w, h), Qt::AlignCenter, kRank[rank]);
    return p;
}

QPixmap draw_command(int index) {
    const int w = 72, h = 22;
    QPixmap p = blank(w, h);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QRectF icon(2, 1, 20, 20);
    QColor ink(128, 255, 128);
    g.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
    g.setBrush(Qt::NoBrush);
    QPointF c = icon.center();
    static const char* kWord[] = {"Zoom In", "Zoom Out", "Destin.", "Refresh", "Help",
                                  "Donate",  "Message",  "E-mail",  "Poetry"};
    switch (index) {
        case 0:
        case 1:
            g.drawEllipse(c + QPointF(-2, -2), 6, 6);
            g.drawLine(c + QPointF(2, 2), c + QPointF(8, 8));
            g.drawLine(c + QPointF(-5, -2), c + QPointF(1, -2));
            if (index == 0) g.drawLine(c + QPointF(-2, -5), c + QPointF(-2, 1));
            break;
        case 2:
            g.drawLine(c + QPointF(-5, 9), c + QPointF(-5, -8));
            g.setBrush(QColor(255, 80, 80));
            g.drawPolygon(QPolygonF()
                          << c + QPointF(-5, -8) << c + QPointF(7, -4) << c + QPointF(-5, 0));
            break;
        case 3:
            g.drawArc(icon.adjusted(3, 3, -3, -3), 40 * 16, 280 * 16);
            break;
        case 4: {
            QFont f("DejaVu Sans", 12, QFont::Bold);
            f.setPixelSize(16);
            g.setFont(f);
            g.drawText(icon, Qt::AlignCenter, "?");
            break;
        }
        case 5: {
            QPainterPath heart;
            heart.moveTo(c + QPointF(0, 7));
            heart.cubicTo(c + QPointF(-12, -2), c + QPointF(-5, -11), c + QPointF(0, -4));
            heart.cubicTo(c + QPointF(5, -11), c + QPointF(12, -2), c + QPointF(0, 7));
            g.setBrush(QColor(220, 40, 60));
            g.drawPath(heart);
            break;
        }
        case 6:
            g.drawRoundedRect(icon.adjusted(1, 3, -1, -6), 4, 4);
            g.drawLine(c + QPointF(-3, 5), c + QPointF(-6, 9));
            break;
        case 7:
            g.drawRect(icon.adjusted(1, 4, -1, -4));
            g.drawLine(icon.topLeft() + QPointF(1, 4), c + QPointF(0, 2));
            g.drawLine(icon.topRight() + QPointF(-1, 4), c + QPointF(0, 2));
            break;
        case 8:
        default:
            g.drawLine(c + QPointF(-7, 8), c + QPointF(7, -8));
            g.drawArc(QRectF(c.x() - 2, c.y() - 10, 12, 12), 200 * 16, 120 * 16);
            break;
    }
    QFont f("DejaVu Sans", 8);
    f.setPixelSize(10);
    g.setFont(f);
    g.setPen(ink);
    g.drawText(QRectF(24, 0, w - 24, h), Qt::AlignVCenter | Qt::AlignLeft,
               kWord[index >= 0 && index < 9 ? index : 8]);
    return p;
}

// Pictures are drawn once and kept in Qt's own pixmap cache, which goes with the application
// (a static container of pixmaps would outlive it).
template <class F>
QPixmap cached(const char* kind, int key, F&& make) {
    const QString name = QStringLiteral("zeko-%1-%2").arg(QLatin1String(kind)).arg(key);
    QPixmap p;
    if (QPixmapCache::find(name, &p)) return p;
    p = make();
    QPixmapCache::insert(name, p);
    return p;
}

}  // namespace

QPixmap tile_picture(int index) {
    return cached("tile", index, [&] { return draw_tile(index); });
}

QPixmap toolbar_picture(int index) {
    return cached("toolbar", index,
                  [&] { return draw_toolbar(index < 1 || index > 16 ? 1 : index); });
}

QPixmap distance_picture(int index) {
    return cached("distance", index,
                  [&] { return draw_distance(index < 0 || index > 5 ? 0 : index); });
}

QPixmap command_picture(int index) {
    return cached("command", index, [&] { return draw_command(index); });
}

QPixmap logo(int width, int height) {
    QPixmap p = blank(width, height, QColor(0, 48, 0));
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(width / 2.0, height / 2.0), width / 2.0);
    glow.setColorAt(0, QColor(40, 120, 40));
    glow.setColorAt(1, QColor(0, 48, 0));
    g.fillRect(p.rect(), glow);
    QFont f("DejaVu Serif", 20, QFont::Bold);
    f.setPixelSize(height * 11 / 20);
    g.setFont(f);
    g.setPen(QColor(0, 0, 0, 160));
    g.drawText(p.rect().translated(2, 2), Qt::AlignCenter, QString::fromUtf8("Z.E.K.O.²"));
    g.setPen(QColor(128, 255, 128));
    g.drawText(p.rect(), Qt::AlignCenter, QString::fromUtf8("Z.E.K.O.²"));
    g.setPen(QPen(QColor(170, 20, 20), 2));
    g.drawLine(QPointF(width * 0.1, height - 6), QPointF(width * 0.9, height - 6));
    return p;
}

}  // namespace zeko::artwork
