#pragma once

#include <functional>
#include <string>

#include "screenshots/code_screenshot.h"

class QWidget;

namespace zeko {

class ProgramState;

namespace ui {

// Hides (true) or shows again (false) the text of the main window's character list.
using HideListText = std::function<void(bool hidden)>;

// The list's text in its own background colour, so the handles cannot be read in a picture;
// false puts the colours back as they were.
void set_list_text_hidden(QWidget* list, bool hidden);

// The three screen-shot commands: the snap shot pictures `main_window` as it is drawn, with
// the character list's text hidden meanwhile; the dumps write the page's body markup.
class Snapshots {
  public:
    Snapshots(ProgramState& state, QWidget* main_window, HideListText hide_list_text);

    // Call once the snap-shot timer has fired.
    ShotResult SNAPSHOT_BMP();
    ShotResult SNAPSHOT_HTML(const std::string& body) { return code_.SNAPSHOT_HTML(body); }
    ShotResult SNAPSHOT_HTML_CSS(const std::string& body) { return code_.SNAPSHOT_HTML_CSS(body); }

  private:
    CodeScreenshot code_;
    QWidget* main_window_;
    HideListText hide_list_text_;
};

}  // namespace ui
}  // namespace zeko
