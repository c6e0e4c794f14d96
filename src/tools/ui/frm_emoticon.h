#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tools/emoticons.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zeko {

class WebBrowser;

namespace ui {

class ProgramWindows;

// `frmEMOTICON`: the emoticon chart over a test area where typed messages show as the
// messenger would show them. Modal, without an owner. The message counter lives as long as
// the window object: anchors keep counting across openings.
class FrmEmoticon : public QDialog {
    Q_OBJECT
  public:
    using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(QWidget* parent)>;

    FrmEmoticon(ProgramWindows& windows, const BrowserFactory& make_browser,
                std::string image_base = tools::default_image_base());
    ~FrmEmoticon() override;

    // Shows the window modally.
    void show_modal();

    void SEND_MESSAGE();
    void cmdCOMMAND_Click(int index);

    int16_t message_counter() const { return counter_; }
    bool chart_built() const { return chart_; }

    // The inline page the test area starts from.
    static const QString kTestPage;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void SET_COLOURS();
    void wbLIST_DocumentComplete();

    ProgramWindows& windows_;
    tools::EmoticonText text_;
    bool chart_ = false;
    int16_t counter_ = 0;
    // What the test page's body holds: the messages, newest first.
    QString test_html_;

    std::unique_ptr<WebBrowser> wbLIST_;
    std::unique_ptr<WebBrowser> wbTEST_;
    QLabel* Label1_ = nullptr;
    QLineEdit* txtMSG_ = nullptr;
    std::array<QPushButton*, 4> cmdCOMMAND_{};
};

}  // namespace ui
}  // namespace zeko
