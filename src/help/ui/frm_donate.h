#pragma once

#include <QDialog>

#include <functional>
#include <memory>

#include "common/conversions.h"

class QPushButton;

namespace zeko {

class WebBrowser;
struct NavigationRequest;

namespace ui {

// `frmDONATE`: five payment buttons and a thank-you note in a browser. Once the page is
// written, every navigation of the browser leaves in a separate window with its form post,
// and the page stays.
class FrmDonate : public QDialog {
    Q_OBJECT
  public:
    using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(QWidget* parent)>;

    explicit FrmDonate(const BrowserFactory& make_browser, QWidget* owner = nullptr);
    ~FrmDonate() override;

    void wb_DocumentComplete();
    void wb_BeforeNavigate2(NavigationRequest& request);
    void cmdCOMMAND_Click();

    WebBrowser& wb() { return *wb_; }
    QPushButton* cmdCOMMAND() const { return cmdCOMMAND_; }

    VbBool PAGE_BUILT = kFalse;

  private:
    void Form_Load();

    std::unique_ptr<WebBrowser> wb_;
    QWidget* Frame1_ = nullptr;
    QPushButton* cmdCOMMAND_ = nullptr;
};

}  // namespace ui
}  // namespace zeko
