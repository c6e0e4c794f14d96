#pragma once

#include <QFont>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "minimap/minimap.h"

namespace zeko {

class ProgramState;

namespace ui {

class LabelBox;
class LineShape;
class PictureBox;

// `fraMAP`: the minimap's tiles (a picture behind each label) and its navigation lines. It
// shows what the core computed into the minimap model; a tile click moves the current
// character to that tile's cell.
class MinimapPanel final : public QWidget {
    Q_OBJECT
  public:
    // `build_map` redraws the minimap after a tile click.
    MinimapPanel(ProgramState& state, std::function<void()> build_map, QWidget* parent);

    // Brings the tiles and lines up to date with `model`; `shown` is what they show now.
    // `force` sets every tile whether or not it changed.
    void show_model(const MinimapModel& model, MinimapModel& shown, bool force = false);
    // The captions' colour as the window is loaded.
    void INIT_FORM();

  private:
    void TILE_Click(int index);
    void show_tile(const TileLabel& now, TileLabel& shown, LabelBox* w, bool force);
    void show_tile_image(const TileImage& now, TileImage& shown, PictureBox* w, bool force);
    static void show_line(LineShape* line, const NavLineState& now, NavLineState& shown);
    QPixmap tile_pixmap(int picture, QSize size);
    const QFont& tile_font_for(const TileFont& font);

    ProgramState& state_;
    std::function<void()> build_map_;
    std::array<LabelBox*, 121> TILE_{};
    std::array<PictureBox*, 121> imgTILE_{};
    LineShape* BANK1_ = nullptr;
    LineShape* PUB1_ = nullptr;
    LineShape* TRANS1_ = nullptr;
    LineShape* DEST1_ = nullptr;
    // Tile pictures scaled to a tile size, by (picture, width, height).
    std::map<std::tuple<int, int, int>, QPixmap> scaled_pictures_;
    std::vector<std::pair<TileFont, QFont>> tile_fonts_;
};

}  // namespace ui
}  // namespace zeko
