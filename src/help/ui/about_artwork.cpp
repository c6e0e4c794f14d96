#include "help/ui/about_artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "main/ui/artwork.h"

namespace zeko::ui {

namespace {

// A bat in flight, centred on `c`, `span` pixels from wing tip to wing tip.
QPainterPath bat(QPointF c, qreal span) {
    const qreal s = span / 2;
    QPainterPath p;
    p.moveTo(c.x(), c.y() - s * 0.12);
    p.cubicTo(c.x() + s * 0.3, c.y() - s * 0.45, c.x() + s * 0.7, c.y() - s * 0.4, c.x() + s,
              c.y() - s * 0.15);
    p.cubicTo(c.x() + s * 0.8, c.y() - s * 0.05, c.x() + s * 0.75, c.y() + s * 0.1,
              c.x() + s * 0.62, c.y() + s * 0.12);
    p.cubicTo(c.x() + s * 0.5, c.y() - s * 0.02, c.x() + s * 0.4, c.y() + s * 0.05, c.x() + s * 0.3,
              c.y() + s * 0.15);
    p.cubicTo(c.x() + s * 0.2, c.y() + s * 0.02, c.x() + s * 0.1, c.y() + s * 0.1, c.x(),
              c.y() + s * 0.25);
    const QPainterPath right = p;
    QTransform mirror;
    mirror.translate(2 * c.x(), 0);
    mirror.scale(-1, 1);
    p.addPath(mirror.map(right));
    p.addEllipse(QPointF(c.x(), c.y() - s * 0.02), s * 0.08, s * 0.14);
    return p;
}

}  // namespace

QPixmap about_logo(QSize size) {
    QPixmap pixmap(size);
    QPainter g(&pixmap);
    g.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    // Night sky over the city, a blood moon and the program's banner.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0, 20, 0));
    sky.setColorAt(0.6, QColor(0, 48, 0));
    sky.setColorAt(1, QColor(0, 72, 8));
    g.fillRect(pixmap.rect(), sky);
    QRadialGradient moon(QPointF(w * 0.78, h * 0.28), h * 0.2);
    moon.setColorAt(0, QColor(220, 70, 60));
    moon.setColorAt(0.7, QColor(150, 20, 20));
    moon.setColorAt(1, QColor(0, 48, 0, 0));
    g.setPen(Qt::NoPen);
    g.setBrush(moon);
    g.drawEllipse(QPointF(w * 0.78, h * 0.28), h * 0.2, h * 0.2);
    g.setBrush(QColor(0, 12, 0));
    for (int i = 0; i < 14; ++i) {
        const qreal x = w * i / 14.0;
        const qreal tall = h * (0.12 + 0.09 * ((i * 7) % 5));
        g.drawRect(QRectF(x, h - tall, w / 14.0 - 2, tall));
    }
    g.setBrush(QColor(0, 0, 0, 200));
    g.drawPath(bat(QPointF(w * 0.72, h * 0.22), w * 0.16));
    g.drawPath(bat(QPointF(w * 0.88, h * 0.4), w * 0.08));
    const QPixmap banner = artwork::logo(static_cast<int>(w * 0.6), static_cast<int>(h * 0.2));
    g.setOpacity(0.85);
    g.drawPixmap(QPointF(w * 0.38, h * 0.58), banner);
    return pixmap;
}

QPixmap about_button(bool pressed) {
    QPixmap pixmap(78, 32);
    pixmap.fill(QColor(0, 48, 0));
    QPainter g(&pixmap);
    g.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(1, 1, 76, 30).translated(pressed ? 1 : 0, pressed ? 1 : 0);
    QLinearGradient shade(0, 0, 0, 32);
    shade.setColorAt(0, pressed ? QColor(40, 100, 40) : QColor(90, 170, 90));
    shade.setColorAt(1, pressed ? QColor(10, 50, 10) : QColor(20, 80, 20));
    g.setPen(QPen(pressed ? QColor(0, 0, 0) : QColor(192, 255, 192), 1));
    g.setBrush(shade);
    g.drawRoundedRect(face.adjusted(0, 0, -1, -1), 8, 8);
    g.setPen(pressed ? QColor(128, 255, 128) : QColor(192, 255, 192));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    f.setBold(true);
    g.setFont(f);
    g.drawText(face, Qt::AlignCenter, QStringLiteral("Close"));
    return pixmap;
}

}  // namespace zeko::ui
