#include "help/ui/about_artwork.h"

#include <QLinearGradient>
#include <QPainter>

namespace zeko::ui {

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
