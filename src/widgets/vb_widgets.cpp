#include "widgets/vb_widgets.h"

#include <QDialog>
#include <QKeyEvent>

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace zeko::ui {

QRect twips_rect(int32_t left, int32_t top, int32_t width, int32_t height) {
    const int l = px(left);
    const int t = px(top);
    return QRect(l, t, px(left + width) - l, px(top + height) - t);
}

QColor rgb_color(uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

void set_palette_colors(QWidget* widget, std::initializer_list<PaletteColor> colors) {
    QPalette pal = widget->palette();
    for (const PaletteColor& c : colors)
        pal.setColor(c.group, c.role, c.color);
    widget->setPalette(pal);
}

QString label_text(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == u'&' && i + 1 < caption.size()) {
            ++i;
            out += caption[i];  // "&&" gives "&", "&x" gives "x"
            continue;
        }
        out += c;
    }
    return out;
}

namespace {

// The single-line black border of labels and pictures.
void draw_border(QPainter& p, const QRect& r) {
    p.setPen(QColor(0, 0, 0));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

// --- LabelBox ---

LabelBox::LabelBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void LabelBox::set_opaque(bool opaque) {
    if (opaque_ == opaque) return;
    opaque_ = opaque;
    update();
}

void LabelBox::set_back_color(const QColor& color) {
    if (back_ == color) return;
    back_ = color;
    if (opaque_) update();
}

void LabelBox::set_fore_color(const QColor& color) {
    if (fore_ == color) return;
    fore_ = color;
    update();
}

void LabelBox::set_caption(const QString& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    text_ = label_text(caption);
    update();
}

void LabelBox::set_border(bool border) {
    if (border_ == border) return;
    border_ = border;
    update();
}

void LabelBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (opaque_) p.fillRect(rect(), back_);
    if (!text_.isEmpty()) {
        p.setPen(fore_);
        p.setFont(font());
        p.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextWordWrap, text_);
    }
    if (border_) draw_border(p, rect());
}

void LabelBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void LabelBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool was_pressed = pressed_;
    pressed_ = false;
    if (was_pressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit clicked();
}

// --- PictureBox ---

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::set_picture(const QPixmap& pixmap, int index) {
    if (picture_ == index && pixmap_.cacheKey() == pixmap.cacheKey()) return;
    pixmap_ = pixmap;
    picture_ = index;
    update();
}

void PictureBox::set_border(bool border) {
    if (border_ == border) return;
    border_ = border;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!pixmap_.isNull()) {
        if (pixmap_.size() != size()) p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), pixmap_);
    }
    if (border_) draw_border(p, rect());
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    emit pressed();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    emit released();
    if (rect().contains(event->position().toPoint())) emit clicked();
}

// --- LineShape ---

LineShape::LineShape(const QColor& color, int width, QWidget* parent)
    : QWidget(parent), color_(color), width_(width) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    set_line(QPoint(0, 0), QPoint(0, 0));
}

void LineShape::set_line(QPoint p1, QPoint p2) {
    p1_ = p1;
    p2_ = p2;
    const int margin = width_ / 2 + 1;
    setGeometry(QRect(p1, p2).normalized().adjusted(-margin, -margin, margin, margin));
    update();
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color_, width_, Qt::SolidLine, Qt::RoundCap));
    const QPoint origin = pos();
    if (p1_ == p2_)
        p.drawPoint(p1_ - origin);
    else
        p.drawLine(p1_ - origin, p2_ - origin);
}

// --- VbFrame ---

VbFrame::VbFrame(QWidget* parent) : QGroupBox(parent) {}

void VbFrame::set_back_color(const QColor& color) {
    back_ = color;
    update();
}

void VbFrame::set_caption_color(const QColor& color) {
    caption_color_ = color;
    update();
}

void VbFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), back_);
    const QString text = label_text(title());
    const QFontMetrics fm(font());
    const int line_y = fm.height() / 2;
    p.setPen(back_.lighter(160));
    p.drawRect(QRect(0, line_y, width() - 1, height() - line_y - 1));
    if (!text.isEmpty()) {
        const int text_width = fm.horizontalAdvance(text);
        const QRect text_rect(6, 0, qMin(text_width + 4, width() - 8), fm.height());
        p.fillRect(text_rect, back_);
        p.setPen(caption_color_);
        p.setFont(font());
        p.drawText(text_rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

QWidget* make_panel(QWidget* parent, const char* name, const QColor& color) {
    auto* w = new QWidget(parent);
    style_panel(w, name, color);
    return w;
}

void style_panel(QWidget* panel, const char* name, const QColor& color) {
    panel->setObjectName(QString::fromLatin1(name));
    set_palette_colors(panel, {{QPalette::Window, color}});
    panel->setAutoFillBackground(true);
}

void set_list_colours(QWidget* w) {
    set_palette_colors(w, {{QPalette::Base, kListBack},
                           {QPalette::Button, kListBack},
                           {QPalette::Window, kListBack},
                           {QPalette::Text, kListText},
                           {QPalette::ButtonText, kListText},
                           {QPalette::WindowText, kListText}});
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void setup_fixed_dialog(QDialog* dialog, int32_t width_twips, int32_t height_twips, bool modal,
                        bool minimise_box) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint;
    if (minimise_box) flags |= Qt::WindowMinimizeButtonHint;
    dialog->setWindowFlags(flags);
    dialog->setFixedSize(px(width_twips), px(height_twips));
    dialog->setModal(modal);
}

namespace {

// Sees the key presses that reach the dialog, its own and those its controls leave unused.
class EscapeKeeper final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel);
    }
};

}  // namespace

void keep_open_on_escape(QDialog* dialog) {
    dialog->installEventFilter(new EscapeKeeper(dialog));
}

}  // namespace zeko::ui
