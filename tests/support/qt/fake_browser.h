#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/browser.h"

namespace zeko::testing {

// A scripted browser for window tests: records every call, answers document reads from what
// the test put in, and lets the test raise the browser's events.
class FakeBrowser final : public WebBrowser {
    Q_OBJECT
  public:
    struct Navigation {
        QString url;
        QString target;
        QByteArray post_data;
        QString headers;
        bool plain_navigate = false;  // Navigate rather than Navigate2
        bool operator==(const Navigation&) const = default;
    };

    explicit FakeBrowser(QObject* parent = nullptr);
    ~FakeBrowser() override;

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

    int ReadyState() const override { return ready_state; }
    QString LocationURL() const override { return location; }

    void readBodyInnerHtml(std::function<void(std::optional<QString>)> done) override;
    void readBodyOuterHtml(std::function<void(std::optional<QString>)> done) override;
    void writeBodyInnerHtml(const QString& html) override;
    void setBodyBgColor(BgrColor color) override;
    void setBodyTextColor(BgrColor color) override;
    void setLinkColors(BgrColor link, BgrColor vlink, BgrColor alink) override;
    void setCookie(const QString& cookie) override;
    void setCookieForUrl(const QString& cookie, const QUrl& url) override;
    void readFormField(const QString& form, const QString& field,
                       std::function<void(FormFieldRead)> done) override;

    // Raising events. BeforeNavigate2 gives back the request as the handlers left it (look
    // at `cancel`).
    NavigationRequest fireBeforeNavigate2(NavigationRequest request);
    NavigationRequest fireBeforeNavigate2(const QString& url, const QByteArray& post_data = {});
    void fireNavigateComplete2(const QString& url);
    void fireDocumentComplete(const QString& url);
    // The usual end of the last navigation: location and ready state set, NavigateComplete2,
    // then DocumentComplete.
    void completeNavigation();

    // Reads answer at once unless `defer_reads` is set; then they wait for answerReads().
    void answerReads();

    // Every call in order, e.g. "Navigate2 url", "writeBodyInnerHtml text", "GoBack".
    QStringList calls;
    std::vector<Navigation> navigations;
    QStringList writes;
    QStringList cookies;
    // Cookies set for a site, with the URL they were set for.
    std::vector<std::pair<QString, QUrl>> site_cookies;
    std::optional<BgrColor> bg_color;
    std::optional<BgrColor> text_color;
    std::optional<BgrColor> link_color;
    std::optional<BgrColor> vlink_color;
    std::optional<BgrColor> alink_color;
    bool silent = false;
    int focus_calls = 0;
    int back_calls = 0;
    int forward_calls = 0;
    int refresh_calls = 0;
    int refresh2_calls = 0;
    int stop_calls = 0;

    // Scripted document. An empty optional body reads as "no document or body"; a write
    // replaces the body (and the outer markup, unless that is scripted on its own).
    std::optional<QString> body_html;
    std::optional<QString> body_outer_html;
    std::map<std::pair<QString, QString>, FormFieldRead> form_fields;  // unscripted: missing
    int ready_state = 4;
    QString location;
    bool defer_reads = false;

  private:
    void record(const QString& call) { calls.append(call); }
    QPointer<QWidget> widget_;
    std::deque<std::function<void()>> pending_reads_;
};

}  // namespace zeko::testing
