#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/browser.h"
#include "startup/guild_update.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zeko {

class ProgramState;

namespace ui {

// The guild update: reads where the moving guilds stand from the guild site's page, logs its
// progress with a turning spinner, counts down to the next move in its title, and places the
// guilds on the map. Made once; lives for the whole run.
class FrmMapUpdate final : public QDialog {
    Q_OBJECT
  public:
    using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(QWidget* parent)>;

    static QString built_in_guild_page();

    // `redraw_map` redraws the minimap once the guilds are placed.
    FrmMapUpdate(ProgramState& state, const BrowserFactory& make_browser,
                 std::function<void()> redraw_map, QString guild_page = built_in_guild_page(),
                 QWidget* parent = nullptr);
    ~FrmMapUpdate() override;

    // Runs an update by itself, places the guilds and closes; returns when the window has
    // closed.
    void INIT_GUILDS();
    // The same, but returns at once with the window open (window-modal).
    void open_guilds();

    void Form_Load();
    // 0 "Update Guilds", 1 "Update Shops", 2 "Done", 3 "Cancel".
    void cmdCOMMAND_Click(int index);
    void wb_NavigateComplete2(const QString& url);
    void STATUS_STEP();
    void tmrVERIFY_Timer();
    void tmrSECOND_Timer();
    void tmrReTry_Timer();

    bool AUTO_GUILDS = false;
    GuildUpdate& run() { return run_; }
    // What the status box shows, line breaks as "\r\n".
    const std::string& status_text() const { return shown_; }

    WebBrowser& wb() { return *wb_; }
    QTimer& STATUS_CHANGE() { return status_change_; }
    QTimer& tmrVERIFY() { return verify_; }
    QTimer& tmrSECOND() { return second_; }
    QTimer& tmrReTry() { return retry_; }

    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void show_status(const std::string& text);
    void show_log() { show_status(run_.STATUS_LOG); }
    // Reads the page body; `then` gets it unless the window has moved on meanwhile.
    void read_body(std::function<void(std::optional<QString>)> then);
    // The move time from the body; false after an error box.
    bool parse_move_time(const QString& body);
    void show_error(const RuntimeError& error);

    ProgramState& state_;
    std::function<void()> redraw_map_;
    QString guild_page_;
    GuildUpdate run_;
    std::string shown_;
    std::unique_ptr<WebBrowser> wb_;
    QPlainTextEdit* txtSTATUS_;
    QLineEdit* txt_;
    std::array<QPushButton*, 4> buttons_{};
    QTimer status_change_;
    QTimer verify_;
    QTimer second_;
    QTimer retry_;
    // Counts the runs and closings, so a page read that answers late is dropped.
    int generation_ = 0;
};

}  // namespace ui
}  // namespace zeko
