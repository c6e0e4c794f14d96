#pragma once

#include <QDialog>
#include <QLabel>
#include <QPixmap>

#include <array>
#include <functional>
#include <memory>

class QTimer;

namespace zeko {

class WebBrowser;

namespace ui {

class PictureBox;

// A label that reports a click.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// `frmABOUT`: the logo with the program's information, version and the logo's credit, drawn
// as shadowed text over the picture. It closes on its picture button or as soon as it loses
// the focus; "Text Off!" hides the text for five seconds.
class FrmAbout : public QDialog {
    Q_OBJECT
  public:
    using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(QWidget* parent)>;

    // The box is deleted when it closes.
    FrmAbout(BrowserFactory make_browser, QWidget* owner);
    ~FrmAbout() override;

    // Makes a box and shows it modeless over `owner`.
    static FrmAbout* show_over(const BrowserFactory& make_browser, QWidget* owner);

    void cmdCOMMAND_MouseDown();
    void cmdCOMMAND_MouseUp();
    void cmdCOMMAND_Click();
    void Form_LostFocus();
    void lblTesk_Click();
    void lblTOGGLE_Click();
    void tmrTEXT_Timer();

    QTimer* tmrTEXT() const { return tmrTEXT_; }
    // wbTESK, made at its first use.
    WebBrowser* wbTESK() const { return wb_.get(); }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void INIT_ABOUT();
    QLabel* label(const char* name, const QColor& color, int32_t left, int32_t top, int32_t width,
                  int32_t height, const QFont& font, Qt::Alignment align, bool clickable);
    // The ten controls that "Text Off!" hides.
    std::array<QWidget*, 10> text_controls() const;

    BrowserFactory make_browser_;
    std::unique_ptr<WebBrowser> wb_;
    QPixmap picture_;
    QLabel* lblAPP_INF_ = nullptr;
    QLabel* lblAPP_INF1_ = nullptr;
    QLabel* lblAPP_INF2_ = nullptr;
    QLabel* lblVER_ = nullptr;
    QLabel* lblVER1_ = nullptr;
    QLabel* lblTesk_ = nullptr;
    QLabel* lblTesk1_ = nullptr;
    QLabel* lblTOGGLE_ = nullptr;
    QLabel* lblTOGGLE1_ = nullptr;
    PictureBox* cmdCOMMAND_ = nullptr;
    std::array<PictureBox*, 2> imgRES_{};
    QTimer* tmrTEXT_ = nullptr;
};

}  // namespace ui
}  // namespace zeko
