#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/browser.h"

class QUrl;
class QWebEngineLoadingInfo;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace zeko {

// The program's browser over Qt WebEngine. The view is made here without a parent; the window
// that shows it takes it into its layout. Every browser of the program shares one profile
// (the default one unless told otherwise), so cookies and logins are shared within a run, as
// they were between the old browser's windows.
class QtWebBrowser final : public WebBrowser {
    Q_OBJECT
  public:
    explicit QtWebBrowser(QWebEngineProfile* profile = nullptr, QObject* parent = nullptr);
    ~QtWebBrowser() override;

    QWidget* widget() override;

    void Navigate2(const QString& url) override;
    void Navigate2(const QString& url, const QString& target, const QByteArray& post_data,
                   const QString& headers) override;
    void Navigate(const QString& url) override;

    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void Refresh2() override;
    void Stop() override;
    void setSilent(bool silent) override;
    void setFocus() override;

    int ReadyState() const override;
    QString LocationURL() const override;

    void readBodyInnerHtml(std::function<void(std::optional<QString>)> done) override;
    void readBodyOuterHtml(std::function<void(std::optional<QString>)> done) override;
    void readBodyRowsHtml(int rows, std::function<void(std::optional<QString>)> done) override;
    void writeBodyInnerHtml(const QString& html) override;
    void setBodyBgColor(BgrColor color) override;
    void setBodyTextColor(BgrColor color) override;
    void setLinkColors(BgrColor link, BgrColor vlink, BgrColor alink) override;
    void setCookie(const QString& cookie) override;
    void setCookieForUrl(const QString& cookie, const QUrl& url) override;
    void readFormField(const QString& form, const QString& field,
                       std::function<void(FormFieldRead)> done) override;

    QWebEngineView* view() const;
    QWebEnginePage* page() const;
    QWebEngineProfile* profile() const { return profile_; }
    bool silent() const { return silent_; }
    // The separate windows this browser opened that are still open.
    QList<QWebEngineView*> openWindows() const;

    // "#RRGGBB" for a &HBBGGRR number.
    static QString htmlColor(BgrColor color);

  private:
    class Page;

    // A form post seen in the page just before its navigation.
    struct FormReport {
        QString method;
        QString target;
        QString enctype;
        QByteArray body;
        FormFieldRead countdown;
    };

    void startLoad(const QString& url, const QByteArray& post_data, const QString& headers);
    void openWindow(const QString& url, const QByteArray& post_data, const QString& headers);
    QWebEnginePage* newWindowPage();
    bool acceptNavigation(const QUrl& url, int type, bool main_frame);
    void pageReport(const QString& message);
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void urlChanged();
    QString currentUrl() const;
    void aboutCommitted();
    void runScript(const QString& script, std::function<void(const QVariant&)> done);
    void setBodyAttribute(const QString& name, BgrColor color);
    // Runs a script whose answer is text; nothing when it answers anything else.
    void runTextScript(const QString& script, std::function<void(std::optional<QString>)> done);
    void readBody(bool outer, std::function<void(std::optional<QString>)> done);

    QWebEngineProfile* profile_ = nullptr;
    QPointer<QWebEngineView> view_;
    Page* page_ = nullptr;
    std::vector<QPointer<QWebEngineView>> windows_;
    // Script answers that arrive while the browser is being torn down are dropped.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QString token_;
    bool silent_ = false;
    int ready_state_ = 0;
    bool loading_ = false;
    bool committed_ = false;
    // The address as the caller wrote it, reported back while the page stays there.
    QString requested_url_;
    // The "about:" address of the document made from markup that is shown, and of the one
    // being loaded.
    QString about_url_;
    QString pending_about_url_;
    std::optional<FormReport> sure_form_;
    std::optional<FormReport> weak_form_;
};

}  // namespace zeko
