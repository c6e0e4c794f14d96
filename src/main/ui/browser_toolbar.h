#pragma once

#include <QWidget>

#include <array>
#include <functional>

namespace zeko {

class WebBrowser;

namespace ui {

class LineShape;
class PictureBox;

// `fraTOOLBAR`: Back, Forward, Refresh and Stop for the game browser, then the File menu's
// four screen-shot commands; each button looks pressed while the mouse holds it down.
class BrowserToolbar final : public QWidget {
    Q_OBJECT
  public:
    // `file_command` runs the File menu's item of that index.
    BrowserToolbar(std::function<void(int index)> file_command, QWidget* parent);

    void set_browser(WebBrowser& wb) { wb_ = &wb; }
    // Every button raised.
    void RESET_TOOLBAR();
    // The toolbar as wide as the browser below it.
    void fit_width(int width);

  private:
    void tbBUTTON_MouseDown(int index);
    void tbBUTTON_MouseUp(int index);
    void tbBUTTON_Click(int index);

    std::function<void(int)> file_command_;
    WebBrowser* wb_ = nullptr;
    std::array<PictureBox*, 8> tbBUTTON_{};
    LineShape* lineTOP_ = nullptr;
    LineShape* lineBOTTOM_ = nullptr;
};

}  // namespace ui
}  // namespace zeko
