#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

namespace zeko {

class PositionTracker;
class ProgramState;
class WebBrowser;
struct NavigationRequest;

namespace ui {

// The window side of following the character: the page-read timer `tmrRIP` and the game
// browser's navigation events, handed to the PositionTracker. A read answers later than it
// is asked for; an answer about a page that has since been left, or after stop(), is
// dropped.
class PageTracking final : public QObject {
    Q_OBJECT
  public:
    // `build_map` is the minimap's redraw; `precog_checked` tells whether "Precognition"
    // shows its check mark.
    PageTracking(ProgramState& state, WebBrowser& wb, std::function<void()> build_map,
                 std::function<bool()> precog_checked, QObject* parent = nullptr);
    ~PageTracking() override;

    PositionTracker& tracker() { return *tracker_; }
    QTimer* tmrRIP() const { return tmrRIP_; }

    // The timer's interval as the program sets it: 0 stops it.
    void set_rip_interval(int ms);
    // The program is ending: the timer stops and answers still under way are dropped.
    void stop();

  private:
    void wb_DocumentComplete();
    void wb_BeforeNavigate2(const NavigationRequest& request);
    void tmrRIP_Timer();

    WebBrowser& wb_;
    std::unique_ptr<PositionTracker> tracker_;
    std::function<bool()> precog_checked_;
    QTimer* tmrRIP_ = nullptr;
    // Counts the pages completed and the predictions made; a read belongs to one count.
    uint64_t generation_ = 0;
    bool stopped_ = false;
};

}  // namespace ui
}  // namespace zeko
