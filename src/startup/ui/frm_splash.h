#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/browser.h"

namespace zeko {

class FileDownloader;
class ProgramState;
class StartHooks;

namespace ui {

// The start-up window: shows the logo and the version while it checks the update server for
// a newer map, installs one when there is, and then starts the program, once.
class FrmSplash final : public QWidget {
    Q_OBJECT
  public:
    using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(QWidget* parent)>;

    // Where the window looks: the update server's host and the logo artist's page.
    struct Sites {
        QString update_host;
        QString artist_page;
    };
    static Sites built_in_sites();

    // How long after its first request the window waits for the version page before it
    // starts without an update: a server that takes the request and never answers must not
    // keep the player at this window.
    static constexpr std::chrono::milliseconds kVersionPageWait = std::chrono::seconds(10);

    // `end_program` ends the run after a failed map download (quits the event loop unless a
    // test says otherwise).
    FrmSplash(ProgramState& state, StartHooks& hooks, FileDownloader& downloader,
              const BrowserFactory& make_browser, Sites sites = built_in_sites(),
              std::function<void()> end_program = {},
              std::chrono::milliseconds version_page_wait = kVersionPageWait,
              QWidget* parent = nullptr);
    ~FrmSplash() override;

    // Shows the window and starts the check.
    void Form_Load();
    // The main window is up: both timers stop and the window goes.
    void unload();

    void tmrINIT_Timer();
    void tmrDELAY_Timer();
    void Form_Click();
    void lblLINK_Click();
    void CHECK_MAP_VERSION();
    // True when the new map is in place; a failed download ends the program.
    bool DOWNLOAD_MAP();
    bool DOWNLOAD_FILE(const QString& url, const std::filesystem::path& path);

    bool CHECK_DONE = false;
    bool DELAY_DONE = false;
    bool INIT_TICKED = false;
    bool HANDED_OVER = false;

    WebBrowser& wbUPDATE() { return *update_; }
    WebBrowser& wbTESK() { return *tesk_; }
    QTimer& tmrINIT() { return init_timer_; }
    QTimer& tmrDELAY() { return delay_timer_; }

  signals:
    // The start procedure has been called (and has returned).
    void handed_over();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void check_version(const QString& body);
    // The check is over: the start may go on.
    void end_check();
    void hand_over();
    QString version_page() const;

    ProgramState& state_;
    StartHooks& hooks_;
    FileDownloader& downloader_;
    Sites sites_;
    std::function<void()> end_program_;
    std::chrono::milliseconds version_page_wait_;
    // Runs from the first request of the version page.
    QElapsedTimer version_asked_;
    std::unique_ptr<WebBrowser> update_;
    std::unique_ptr<WebBrowser> tesk_;
    QLabel* label1_;
    QLabel* ver_;
    QLabel* status_;
    QLabel* link_;
    QTimer init_timer_;
    QTimer delay_timer_;
    bool checking_ = false;
    bool ended_ = false;
};

}  // namespace ui
}  // namespace zeko
