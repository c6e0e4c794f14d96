#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <deque>
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
        bool operator==(const Navigation&) const = default;
    };

    explicit FakeBrowser(QObject* parent = nullptr) : WebBrowser(parent) {}
    ~FakeBrowser() override {
        // A window that took the widget into its layout deletes it with itself.
        if (widget_ && widget_->parent() == nullptr) delete widget_.data();
    }

    QWidget* widget() override {
        return widget_ ? widget_.data() : (widget_ = new QWidget()).data();
    }
    void Navigate2(const QString& url) override { Navigate2(url, {}, {}, {}); }
    void Navigate2(const QString& url, const QString& target, const QByteArray& post_data,
                   const QString& headers) override {
        calls << "Navigate2 " + url;
        navigations.push_back({url, target, post_data, headers});
    }
    void Navigate(const QString& url) override {
        calls << "Navigate " + url;
        navigations.push_back({url, {}, {}, {}});
    }
    void GoBack() override { calls << "GoBack"; }
    void GoForward() override { calls << "GoForward"; }
    void Refresh() override { calls << "Refresh"; }
    void Refresh2() override { calls << "Refresh2"; }
    void Stop() override { calls << "Stop"; }
    void setSilent(bool value) override { silent = value; }
    void setFocus() override { calls << "setFocus"; }
    int ReadyState() const override { return 4; }
    QString LocationURL() const override { return location; }

    void readBodyInnerHtml(std::function<void(std::optional<QString>)> done) override {
        reply([this, done] { done(body_html); });
    }
    void readBodyOuterHtml(std::function<void(std::optional<QString>)> done) override {
        reply([this, done] {
            done(body_outer_html || !body_html ? body_outer_html
                                               : "<BODY>" + *body_html + "</BODY>");
        });
    }
    // No form is scripted: every field reads as missing.
    void readFormField(const QString&, const QString&,
                       std::function<void(FormFieldRead)> done) override {
        reply([done] { done(FormFieldRead{}); });
    }
    void writeBodyInnerHtml(const QString& html) override {
        calls << "writeBodyInnerHtml " + html;
        body_html = html;
    }
    void setBodyBgColor(BgrColor c) override {
        calls << QStringLiteral("setBodyBgColor %1").arg(c, 0, 16);
    }
    void setBodyTextColor(BgrColor c) override {
        calls << QStringLiteral("setBodyTextColor %1").arg(c, 0, 16);
    }
    void setLinkColors(BgrColor, BgrColor, BgrColor) override { calls << "setLinkColors"; }
    void setCookie(const QString& cookie) override { calls << "setCookie " + cookie; }
    void setCookieForUrl(const QString& cookie, const QUrl& url) override {
        calls << QStringLiteral("setCookieForUrl %1 %2").arg(cookie, url.toString());
        site_cookies.emplace_back(cookie, url);
    }

    // Raises BeforeNavigate2 (the handlers may cancel).
    void fireBeforeNavigate2(NavigationRequest request) { emit BeforeNavigate2(request); }
    // The usual end of the last navigation: location set, NavigateComplete2, then
    // DocumentComplete.
    void completeNavigation() {
        if (navigations.empty()) return;
        location = navigations.back().url;
        emit NavigateComplete2(location);
        emit DocumentComplete(location);
    }
    // Reads answer at once unless `defer_reads` is set; then they wait for this call. Answers
    // may ask for more reads; those wait for the next call.
    void answerReads() {
        for (auto& answer : std::exchange(pending_reads_, {}))
            answer();
    }

    // Every call in order, e.g. "Navigate2 url", "writeBodyInnerHtml text", "GoBack".
    QStringList calls;
    std::vector<Navigation> navigations;
    // Cookies set for a site, with the URL they were set for.
    std::vector<std::pair<QString, QUrl>> site_cookies;
    bool silent = false;
    // Scripted document. An empty optional body reads as "no document or body"; a write
    // replaces the body (and the outer markup, unless that is scripted on its own).
    std::optional<QString> body_html;
    std::optional<QString> body_outer_html;
    QString location;
    bool defer_reads = false;

  private:
    void reply(std::function<void()> answer) {
        if (defer_reads) return pending_reads_.push_back(std::move(answer));
        answer();
    }
    QPointer<QWidget> widget_;
    std::deque<std::function<void()>> pending_reads_;
};

}  // namespace zeko::testing
