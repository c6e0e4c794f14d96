#include "support/qt/fake_browser.h"

namespace zeko::testing {

FakeBrowser::FakeBrowser(QObject* parent) : WebBrowser(parent) {}

FakeBrowser::~FakeBrowser() {
    // A window that took the widget into its layout deletes it with itself.
    if (widget_ && widget_->parent() == nullptr) delete widget_.data();
}

QWidget* FakeBrowser::widget() {
    if (!widget_) widget_ = new QWidget();
    return widget_.data();
}

void FakeBrowser::Navigate2(const QString& url) {
    Navigate2(url, QString(), {}, QString());
}

void FakeBrowser::Navigate2(const QString& url, const QString& target, const QByteArray& post_data,
                            const QString& headers) {
    record(QStringLiteral("Navigate2 ") + url);
    navigations.push_back({url, target, post_data, headers, false});
}

void FakeBrowser::Navigate(const QString& url) {
    record(QStringLiteral("Navigate ") + url);
    navigations.push_back({url, QString(), {}, QString(), true});
}

void FakeBrowser::GoBack() {
    record(QStringLiteral("GoBack"));
    ++back_calls;
}

void FakeBrowser::GoForward() {
    record(QStringLiteral("GoForward"));
    ++forward_calls;
}

void FakeBrowser::Refresh() {
    record(QStringLiteral("Refresh"));
    ++refresh_calls;
}

void FakeBrowser::Refresh2() {
    record(QStringLiteral("Refresh2"));
    ++refresh2_calls;
}

void FakeBrowser::Stop() {
    record(QStringLiteral("Stop"));
    ++stop_calls;
}

void FakeBrowser::setSilent(bool value) {
    record(QStringLiteral("setSilent %1").arg(value ? "true" : "false"));
    silent = value;
}

void FakeBrowser::setFocus() {
    record(QStringLiteral("setFocus"));
    ++focus_calls;
}

void FakeBrowser::readBodyInnerHtml(std::function<void(std::optional<QString>)> done) {
    record(QStringLiteral("readBodyInnerHtml"));
    auto answer = [this, done = std::move(done)] {
        if (done) done(body_html);
    };
    if (defer_reads) {
        pending_reads_.push_back(std::move(answer));
    } else {
        answer();
    }
}

void FakeBrowser::readBodyOuterHtml(std::function<void(std::optional<QString>)> done) {
    record(QStringLiteral("readBodyOuterHtml"));
    auto answer = [this, done = std::move(done)] {
        if (!done) return;
        if (body_outer_html) {
            done(body_outer_html);
        } else if (body_html) {
            done(QStringLiteral("<BODY>") + *body_html + QStringLiteral("</BODY>"));
        } else {
            done(std::nullopt);
        }
    };
    if (defer_reads) {
        pending_reads_.push_back(std::move(answer));
    } else {
        answer();
    }
}

void FakeBrowser::writeBodyInnerHtml(const QString& html) {
    record(QStringLiteral("writeBodyInnerHtml ") + html);
    writes.append(html);
    body_html = html;
}

void FakeBrowser::setBodyBgColor(BgrColor color) {
    record(QStringLiteral("setBodyBgColor %1").arg(color, 0, 16));
    bg_color = color;
}

void FakeBrowser::setBodyTextColor(BgrColor color) {
    record(QStringLiteral("setBodyTextColor %1").arg(color, 0, 16));
    text_color = color;
}

void FakeBrowser::setLinkColors(BgrColor link, BgrColor vlink, BgrColor alink) {
    record(QStringLiteral("setLinkColors %1 %2 %3")
               .arg(link, 0, 16)
               .arg(vlink, 0, 16)
               .arg(alink, 0, 16));
    link_color = link;
    vlink_color = vlink;
    alink_color = alink;
}

void FakeBrowser::setCookie(const QString& cookie) {
    record(QStringLiteral("setCookie ") + cookie);
    cookies.append(cookie);
}

void FakeBrowser::setCookieForUrl(const QString& cookie, const QUrl& url) {
    record(QStringLiteral("setCookieForUrl %1 %2").arg(cookie, url.toString()));
    site_cookies.emplace_back(cookie, url);
}

void FakeBrowser::readFormField(const QString& form, const QString& field,
                                std::function<void(FormFieldRead)> done) {
    record(QStringLiteral("readFormField %1 %2").arg(form, field));
    auto answer = [this, form, field, done = std::move(done)] {
        if (!done) return;
        auto it = form_fields.find({form, field});
        done(it == form_fields.end() ? FormFieldRead{} : it->second);
    };
    if (defer_reads) {
        pending_reads_.push_back(std::move(answer));
    } else {
        answer();
    }
}

NavigationRequest FakeBrowser::fireBeforeNavigate2(NavigationRequest request) {
    emit BeforeNavigate2(request);
    return request;
}

NavigationRequest FakeBrowser::fireBeforeNavigate2(const QString& url,
                                                   const QByteArray& post_data) {
    NavigationRequest request;
    request.url = url;
    request.post_data = post_data;
    return fireBeforeNavigate2(std::move(request));
}

void FakeBrowser::fireNavigateComplete2(const QString& url) {
    emit NavigateComplete2(url);
}

void FakeBrowser::fireDocumentComplete(const QString& url) {
    emit DocumentComplete(url);
}

void FakeBrowser::completeNavigation() {
    if (navigations.empty()) return;
    const QString url = navigations.back().url;
    location = url;
    ready_state = 4;
    emit NavigateComplete2(url);
    emit DocumentComplete(url);
}

void FakeBrowser::answerReads() {
    // Answers may ask for more reads; those wait for the next call.
    std::deque<std::function<void()>> now;
    now.swap(pending_reads_);
    for (auto& answer : now)
        answer();
}

}  // namespace zeko::testing
