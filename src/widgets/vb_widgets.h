#pragma once

#include <QColor>
#include <QGroupBox>
#include <QPalette>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <string_view>

#include "common/errors.h"

#include <cstdint>
#include <initializer_list>

// Small controls the windows are built from: labels, pictures and lines placed by hand in
// twips, painted without style sheets so that redrawing many of them stays cheap; and the
// colours and helpers the windows share.
class QDialog;

namespace zeko::ui {

inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounding down (also below zero).
constexpr int px(int32_t twips) {
    return twips >= 0 ? twips / kTwipsPerPixel : -((-twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}
constexpr int32_t twips(int pixels) {
    return static_cast<int32_t>(pixels) * kTwipsPerPixel;
}
// A rectangle given in twips; its edges are converted one by one, so controls that touch in
// twips touch on the screen too.
QRect twips_rect(int32_t left, int32_t top, int32_t width, int32_t height);

// 0xRRGGBB.
QColor rgb_color(uint32_t rgb);

// What a label shows for a caption: "&&" is one "&", a single "&" only marks the access key.
QString label_text(const QString& caption);

// The windows' dark green ground, and the light green on dark grey of their lists and boxes.
inline constexpr QColor kGround(0, 48, 0);
inline constexpr QColor kListBack(64, 64, 64);
inline constexpr QColor kListText(128, 255, 128);

// One colour of a palette; without a group, for every group.
struct PaletteColor {
    QPalette::ColorRole role;
    QColor color;
    QPalette::ColorGroup group = QPalette::All;
};
// Sets these colours in the widget's palette, leaving the others as they are.
void set_palette_colors(QWidget* widget, std::initializer_list<PaletteColor> colors);

// A label: opaque or transparent, with a caption drawn centred and wrapped, an optional
// single-line border, and a click.
class LabelBox : public QWidget {
    Q_OBJECT
  public:
    explicit LabelBox(QWidget* parent = nullptr);

    void set_opaque(bool opaque);
    void set_back_color(const QColor& color);
    void set_fore_color(const QColor& color);
    // The caption as stored ("&&" for one ampersand).
    void set_caption(const QString& caption);
    void set_border(bool border);

    bool opaque() const { return opaque_; }
    QColor back_color() const { return back_; }
    QColor fore_color() const { return fore_; }
    QString caption() const { return caption_; }
    // The text on the label.
    QString shown_text() const { return text_; }
    bool border() const { return border_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool opaque_ = true;
    QColor back_{0, 0, 0};
    QColor fore_{255, 255, 255};
    QString caption_;
    QString text_;
    bool border_ = true;
    bool pressed_ = false;
};

// A picture stretched over its rectangle, with an optional border; reports presses,
// releases and clicks.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    // `index` names the picture for whoever asks which one is shown.
    void set_picture(const QPixmap& pixmap, int index = 0);
    void set_border(bool border);

    const QPixmap& pixmap() const { return pixmap_; }
    int picture() const { return picture_; }
    bool border() const { return border_; }

  signals:
    void pressed();
    void released();
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPixmap pixmap_;
    int picture_ = 0;
    bool border_ = false;
    bool pressed_ = false;
};

// A straight line between two points of its parent, drawn over its siblings; mouse clicks
// pass through it to whatever lies below.
class LineShape : public QWidget {
    Q_OBJECT
  public:
    LineShape(const QColor& color, int width, QWidget* parent = nullptr);

    // End points in the parent's pixels.
    void set_line(QPoint p1, QPoint p2);
    QPoint p1() const { return p1_; }
    QPoint p2() const { return p2_; }
    QColor color() const { return color_; }
    int line_width() const { return width_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_;
    int width_;
    QPoint p1_;
    QPoint p2_;
};

// A frame with a caption over a coloured ground (the caption is the group box's title).
class VbFrame : public QGroupBox {
    Q_OBJECT
  public:
    explicit VbFrame(QWidget* parent = nullptr);

    void set_back_color(const QColor& color);
    void set_caption_color(const QColor& color);
    QColor back_color() const { return back_; }
    QColor caption_color() const { return caption_color_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor back_{0, 48, 0};
    QColor caption_color_{255, 255, 255};
};

// A plain panel filled with one colour.
QWidget* make_panel(QWidget* parent, const char* name, const QColor& color);
// The lists' colours: light green on dark grey.
void set_list_colours(QWidget* widget);
// Names and fills a panel made elsewhere as make_panel does.
void style_panel(QWidget* panel, const char* name, const QColor& color);

// A fixed-size dialog of the given client size in twips, with a title and a close box (and a
// minimise box when asked), modal or not.
void setup_fixed_dialog(QDialog* dialog, int32_t width_twips, int32_t height_twips, bool modal,
                        bool minimise_box = false);

// Esc leaves the dialog open: the classic windows close on it only through a Cancel button, and
// those without one ignore it.
void keep_open_on_escape(QDialog* dialog);

// The objectName of a control of a control array, e.g. "TILE(4)".
QString indexed(const char* name, int index);
// UTF-8 text from the core.
QString utf8(std::string_view text);

}  // namespace zeko::ui
