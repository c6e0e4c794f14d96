#include "widgets/splash_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QRadialGradient>

namespace zeko::artwork {

namespace {

QPixmap draw_splash() {
    constexpr int kW = 400;
    constexpr int kH = 300;
    QPixmap p(kW, kH);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kH);
    sky.setColorAt(0.0, QColor(8, 0, 16));
    sky.setColorAt(0.6, QColor(40, 0, 12));
    sky.setColorAt(1.0, QColor(0, 24, 0));
    g.fillRect(p.rect(), sky);

    // The moon, with a soft halo.
    QRadialGradient halo(QPointF(300, 95), 70);
    halo.setColorAt(0.0, QColor(200, 30, 30, 180));
    halo.setColorAt(1.0, QColor(200, 30, 30, 0));
    g.setPen(Qt::NoPen);
    g.setBrush(halo);
    g.drawEllipse(QPointF(300, 95), 70, 70);
    g.setBrush(QColor(170, 20, 20));
    g.drawEllipse(QPointF(300, 95), 34, 34);

    // Roofs of the city along the bottom, the grid of its streets in their windows.
    g.setBrush(QColor(5, 5, 8));
    const int roofs[][3] = {{0, 60, 70},   {55, 45, 95},   {95, 70, 60},  {160, 40, 110},
                            {195, 60, 80}, {250, 50, 100}, {295, 45, 65}, {335, 65, 90}};
    for (const auto& r : roofs)
        g.drawRect(r[0], kH - 60 - r[2], r[1], r[2] + 60);
    g.setBrush(QColor(0, 255, 0, 90));
    for (const auto& r : roofs) {
        for (int y = kH - 50 - r[2]; y < kH - 70; y += 14) {
            for (int x = r[0] + 6; x < r[0] + r[1] - 8; x += 12) {
                if (((x * 7 + y * 3) / 11) % 3 == 0) g.drawRect(x, y, 4, 6);
            }
        }
    }

    // Two bats crossing the moon.
    g.setBrush(QColor(0, 0, 0));
    for (const QPointF& at : {QPointF(280, 80), QPointF(318, 108)}) {
        QPainterPath bat;
        bat.moveTo(at);
        bat.quadTo(at + QPointF(-8, -8), at + QPointF(-16, -2));
        bat.quadTo(at + QPointF(-10, 0), at + QPointF(-8, 4));
        bat.quadTo(at + QPointF(-4, 1), at + QPointF(0, 5));
        bat.quadTo(at + QPointF(4, 1), at + QPointF(8, 4));
        bat.quadTo(at + QPointF(10, 0), at + QPointF(16, -2));
        bat.quadTo(at + QPointF(8, -8), at);
        g.drawPath(bat);
    }

    // The name, dripping.
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(58);
    title.setBold(true);
    g.setFont(title);
    const QRect name_box(0, 95, kW, 80);
    g.setPen(QColor(0, 0, 0));
    g.drawText(name_box.translated(3, 3), Qt::AlignCenter, QString::fromUtf8("Z.E.K.O.²"));
    g.setPen(QColor(210, 0, 0));
    g.drawText(name_box, Qt::AlignCenter, QString::fromUtf8("Z.E.K.O.²"));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(210, 0, 0));
    for (int x : {92, 151, 236, 283}) {
        const int length = 8 + (x % 13);
        g.drawRect(x, 160, 3, length);
        g.drawEllipse(QPointF(x + 1.5, 160 + length), 3, 3);
    }
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(15);
    sub.setItalic(true);
    g.setFont(sub);
    g.setPen(QColor(128, 255, 128));
    g.drawText(QRect(0, 180, kW, 24), Qt::AlignCenter, QStringLiteral("Zekorama² for Vampires!"));
    return p;
}

}  // namespace

QPixmap splash_logo() {
    QPixmap p;
    if (QPixmapCache::find(QStringLiteral("zeko-splash"), &p)) return p;
    p = draw_splash();
    QPixmapCache::insert(QStringLiteral("zeko-splash"), p);
    return p;
}

}  // namespace zeko::artwork
