#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "common/conversions.h"
#include "help/help_pages.h"

class QListWidget;
class QPushButton;
class QTimer;

namespace zeko {

class WebBrowser;
struct NavigationRequest;

namespace ui {

// `frmHELP`: the topic list and the page of the selected topic. Links inside the pages are
// topic numbers; the window turns a click on one into a selection in the list. The object
// lives for the whole run; closing the window keeps the topic tables and the stored topic.
class FrmHelp : public QDialog {
    Q_OBJECT
  public:
    // Makes a browser whose widget the window takes in.
    using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(QWidget* parent)>;
    // Shows the about box modeless, owned by the given window.
    using AboutOpener = std::function<void(QWidget* owner)>;

    FrmHelp(const BrowserFactory& make_browser, AboutOpener show_about);
    ~FrmHelp() override;

    // Stores the topic; for the topics that have an owning window, shows help modally over
    // `caller` (taken as that window) and returns when it closes. Other topics show nothing.
    void INIT_HELP(int16_t topic, QWidget* caller);

    void lstTOPICS_Click();
    void tmrHELP_Timer();
    void wbHELP_BeforeNavigate2(NavigationRequest& request);
    void wbHELP_DocumentComplete();
    void cmdCOMMAND_Click(int index);

    // Sets the list's selection and raises its click, as setting ListIndex does.
    void set_list_index(int index);
    int list_index() const;
    bool loaded() const { return loaded_; }
    WebBrowser& wbHELP() { return *wb_; }
    QListWidget* lstTOPICS() const { return lstTOPICS_; }
    QTimer* tmrHELP() const { return tmrHELP_; }
    QPushButton* cmdCOMMAND(int index) const { return cmdCOMMAND_.at(static_cast<size_t>(index)); }

    int16_t HELP_TOPIC = 0;
    int16_t TOPIC_COUNT = 0;
    VbBool DOC_READY = kFalse;
    VbBool FIRST_SHOWN = kFalse;
    VbBool PAGES_BUILT = kFalse;
    VbBool BLANK_RELOADED = kFalse;
    help::HelpTables tables;

  public slots:
    void done(int result) override;

  protected:
    // Runs the window modally until it closes; a test shows it without blocking instead.
    virtual void run_modal();
    void Form_Load(QWidget* owner);
    void Form_Unload();
    void Form_Resize();
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FILL_TOPICS();
    void SHOW_TOPIC(int topic);
    void SET_HELP_COLOURS();

    std::unique_ptr<WebBrowser> wb_;
    AboutOpener show_about_;
    QListWidget* lstTOPICS_ = nullptr;
    std::array<QPushButton*, 3> cmdCOMMAND_{};
    QTimer* tmrHELP_ = nullptr;
    bool loaded_ = false;
    bool in_resize_ = false;
};

}  // namespace ui
}  // namespace zeko
