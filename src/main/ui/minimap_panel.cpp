#include "main/ui/minimap_panel.h"
#include "widgets/traps.h"

#include <algorithm>

#include "main/program_state.h"
#include "map/nav.h"
#include "widgets/artwork.h"
#include "widgets/vb_widgets.h"

namespace zeko::ui {

MinimapPanel::MinimapPanel(ProgramState& state, std::function<void()> build_map, QWidget* parent)
    : QWidget(parent), state_(state), build_map_(std::move(build_map)) {
    style_panel(this, "fraMAP", kGround);
    // Pictures lie behind the labels; the lines lie over both, the narrowest on top.
    for (size_t n = 0; n < imgTILE_.size(); ++n) {
        auto* img = new PictureBox(this);
        img->setObjectName(indexed("imgTILE", static_cast<int>(n)));
        img->hide();
        connect(img, &PictureBox::clicked, this, [this, n] { TILE_Click(static_cast<int>(n)); });
        imgTILE_[n] = img;
    }
    for (size_t n = 0; n < TILE_.size(); ++n) {
        auto* tile = new LabelBox(this);
        tile->setObjectName(indexed("TILE", static_cast<int>(n)));
        tile->hide();
        connect(tile, &LabelBox::clicked, this, [this, n] { TILE_Click(static_cast<int>(n)); });
        TILE_[n] = tile;
    }
    auto line = [&](const char* name, QColor colour, int width) {
        auto* l = new LineShape(colour, width, this);
        l->setObjectName(QLatin1String(name));
        l->hide();
        return l;
    };
    BANK1_ = line("BANK1", QColor(0, 0, 255), 7);
    PUB1_ = line("PUB1", QColor(255, 192, 128), 5);
    TRANS1_ = line("TRANS1", QColor(255, 0, 0), 3);
    DEST1_ = line("DEST1", QColor(0, 255, 255), 1);
}

void MinimapPanel::INIT_FORM() {
    for (LabelBox* tile : TILE_)
        tile->set_fore_color(QColor(255, 255, 255));
}

void MinimapPanel::TILE_Click(int index) {
    trap("TILE_Click", [&] {
        VAMP& me = state_.db.current();
        const Cell cell = TILE_TO_COORD(index, state_.ZOOM, Cell{me.POS_X, me.POS_Y});
        me.POS_X = cell.x;
        me.POS_Y = cell.y;
    });
    build_map_();
}

QPixmap MinimapPanel::tile_pixmap(int picture, QSize size) {
    if (picture < 1 || size.isEmpty()) return {};
    const auto key = std::make_tuple(picture, size.width(), size.height());
    auto it = scaled_pictures_.find(key);
    if (it == scaled_pictures_.end()) {
        QPixmap full = artwork::tile_picture(picture);
        QPixmap scaled = full.size() == size
                             ? full
                             : full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        it = scaled_pictures_.emplace(key, scaled).first;
    }
    return it->second;
}

const QFont& MinimapPanel::tile_font_for(const TileFont& f) {
    for (const auto& [key, qfont] : tile_fonts_)
        if (key == f) return qfont;
    QFont qfont(utf8(f.name));
    qfont.setBold(f.bold);
    qfont.setPointSize(std::max(1, f.points));
    tile_fonts_.emplace_back(f, qfont);
    return tile_fonts_.back().second;
}

void MinimapPanel::show_tile(const TileLabel& t, TileLabel& s, LabelBox* w, bool force) {
    if (!force && t == s) return;
    if (force || t.left != s.left || t.top != s.top || t.width != s.width || t.height != s.height)
        w->setGeometry(twips_rect(t.left, t.top, t.width, t.height));
    if (force || t.back_style != s.back_style) w->set_opaque(t.back_style != 0);
    if (force || t.back_color != s.back_color) w->set_back_color(rgb_color(t.back_color));
    if (force || t.caption != s.caption) w->set_caption(utf8(t.caption));
    if (force || t.tooltip != s.tooltip) w->setToolTip(utf8(t.tooltip));
    if (force || t.border != s.border) w->set_border(t.border);
    if ((force || !(t.font == s.font)) && !t.font.name.empty()) w->setFont(tile_font_for(t.font));
    if (force || t.fore_color != s.fore_color) w->set_fore_color(rgb_color(t.fore_color));
    if (force || t.visible != s.visible) w->setVisible(t.visible);
    s = t;
}

void MinimapPanel::show_tile_image(const TileImage& t, TileImage& s, PictureBox* w, bool force) {
    if (!force && t == s) return;
    const bool moved =
        t.left != s.left || t.top != s.top || t.width != s.width || t.height != s.height;
    if (force || moved) w->setGeometry(twips_rect(t.left, t.top, t.width, t.height));
    if (force || moved || t.picture != s.picture)
        w->set_picture(tile_pixmap(t.picture, w->size()), t.picture);
    if (force || t.border != s.border) w->set_border(t.border);
    if (force || t.visible != s.visible) w->setVisible(t.visible);
    s = t;
}

void MinimapPanel::show_line(LineShape* line, const NavLineState& now, NavLineState& shown) {
    if (now == shown) return;
    line->set_line(QPoint(px(now.x1), px(now.y1)), QPoint(px(now.x2), px(now.y2)));
    line->setVisible(now.visible);
    shown = now;
}

void MinimapPanel::show_model(const MinimapModel& model, MinimapModel& shown, bool force) {
    for (size_t n = 0; n < TILE_.size(); ++n) {
        show_tile_image(model.imgTILE[n], shown.imgTILE[n], imgTILE_[n], force);
        show_tile(model.TILE[n], shown.TILE[n], TILE_[n], force);
    }
    show_line(BANK1_, model.BANK1, shown.BANK1);
    show_line(PUB1_, model.PUB1, shown.PUB1);
    show_line(TRANS1_, model.TRANS1, shown.TRANS1);
    show_line(DEST1_, model.DEST1, shown.DEST1);
}

}  // namespace zeko::ui
