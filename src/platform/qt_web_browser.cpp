#include "platform/qt_web_browser.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkCookie>
#include <QRandomGenerator>
#include <QUrl>
#include <QVariant>
#include <QWebEngineCookieStore>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>
#include <utility>

#include "common/codepage.h"
#include "platform/browser_scripts.h"

namespace zeko {

namespace {

bool isAbout(const QString& url) {
    return url.startsWith(QLatin1String("about:"), Qt::CaseInsensitive);
}

// "about:blank" is the empty document; any other "about:" address is made of its markup. The
// doctype keeps the page out of quirks mode, where table cells do not take the body's colours.
QString aboutDocument(const QString& url) {
    QString markup = url.mid(6);
    if (markup.compare(QLatin1String("blank"), Qt::CaseInsensitive) == 0) markup.clear();
    if (markup.trimmed().startsWith(QLatin1String("<!doctype"), Qt::CaseInsensitive)) return markup;
    return QStringLiteral("<!DOCTYPE html>") + markup;
}

const QUrl& aboutBase() {
    static const QUrl base(QStringLiteral("about:blank"));
    return base;
}

// A call of one of the scripts with the given texts as arguments.
QString call(const char* function, const QStringList& args) {
    QJsonArray array;
    for (const QString& arg : args)
        array.append(arg);
    return QString::fromUtf8(function) + QStringLiteral(".apply(null, ") +
           QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)) +
           QStringLiteral(")");
}

FormFieldRead fieldRead(const QVariantMap& answer) {
    FormFieldRead read;
    const QString status = answer.value(QStringLiteral("status")).toString();
    if (status == QLatin1String("value")) {
        read.status = FormFieldRead::Status::Value;
        read.value = answer.value(QStringLiteral("value")).toString();
    } else if (status == QLatin1String("missing")) {
        read.status = FormFieldRead::Status::MissingForm;
    } else {
        read.status = FormFieldRead::Status::Failed;
    }
    return read;
}

// Extra headers given as "Name: value" lines; a post without a content type is a form.
void applyHeaders(QWebEngineHttpRequest& request, const QString& headers, bool is_post) {
    bool has_type = false;
    for (QString line : headers.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        line = line.trimmed();
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0) continue;
        const QByteArray name = line.left(colon).trimmed().toLatin1();
        if (name.compare("content-type", Qt::CaseInsensitive) == 0) has_type = true;
        request.setHeader(name, line.mid(colon + 1).trimmed().toLatin1());
    }
    if (is_post && !has_type) {
        request.setHeader("Content-Type", "application/x-www-form-urlencoded");
    }
}

QWebEngineHttpRequest httpRequest(const QString& url, const QByteArray& post_data,
                                  const QString& headers) {
    const bool is_post = !post_data.isEmpty();
    QWebEngineHttpRequest request(
        QUrl(url), is_post ? QWebEngineHttpRequest::Post : QWebEngineHttpRequest::Get);
    if (is_post) request.setPostData(post_data);
    applyHeaders(request, headers, is_post);
    return request;
}

}  // namespace

class QtWebBrowser::Page final : public QWebEnginePage {
  public:
    Page(QtWebBrowser* owner, QWebEngineProfile* profile)
        : QWebEnginePage(profile, owner), owner_(owner) {}

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool main_frame) override {
        return owner_->acceptNavigation(url, type, main_frame);
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        owner_->pageReport(message);
    }
    void javaScriptAlert(const QUrl& origin, const QString& text) override {
        if (!owner_->silent_) QWebEnginePage::javaScriptAlert(origin, text);
    }
    bool javaScriptConfirm(const QUrl& origin, const QString& text) override {
        return owner_->silent_ ? false : QWebEnginePage::javaScriptConfirm(origin, text);
    }
    bool javaScriptPrompt(const QUrl& origin, const QString& text, const QString& default_value,
                          QString* result) override {
        if (owner_->silent_) return false;
        return QWebEnginePage::javaScriptPrompt(origin, text, default_value, result);
    }
    QWebEnginePage* createWindow(WebWindowType) override { return owner_->newWindowPage(); }

  private:
    QtWebBrowser* owner_;
};

namespace {

// The page of a separate window: windows it opens in turn are separate windows too.
class WindowPage final : public QWebEnginePage {
  public:
    WindowPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

  protected:
    QWebEnginePage* createWindow(WebWindowType) override;
};

// A separate top-level browser window. Like the old browser's windows it lives on when the
// browser that opened it is gone, and does not keep the program running; it is deleted when
// closed or when the program quits.
QWebEnginePage* separateWindow(QWebEngineProfile* profile) {
    auto* window = new QWebEngineView();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_QuitOnClose, false);
    auto* page = new WindowPage(profile, window);
    window->setPage(page);
    QObject::connect(page, &QWebEnginePage::titleChanged, window, &QWidget::setWindowTitle);
    QObject::connect(page, &QWebEnginePage::windowCloseRequested, window, &QWidget::close);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, window,
                     [window] { delete window; });
    window->resize(1024, 768);
    window->show();
    return page;
}

QWebEnginePage* WindowPage::createWindow(WebWindowType) {
    return separateWindow(profile());
}

}  // namespace

QtWebBrowser::QtWebBrowser(QWebEngineProfile* profile, QObject* parent)
    : WebBrowser(parent), profile_(profile ? profile : QWebEngineProfile::defaultProfile()) {
    token_ = QStringLiteral("zeko-%1:")
                 .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    page_ = new Page(this, profile_);

    QWebEngineScript hook;
    hook.setName(QStringLiteral("zeko-document-hook"));
    hook.setInjectionPoint(QWebEngineScript::DocumentCreation);
    hook.setWorldId(QWebEngineScript::MainWorld);
    hook.setRunsOnSubFrames(true);
    hook.setSourceCode(QString::fromUtf8(browser_scripts::kDocumentHook)
                           .replace(QStringLiteral("@TOKEN@"), token_));
    page_->scripts().insert(hook);

    view_ = new QWebEngineView();
    view_->setPage(page_);
    connect(page_, &QWebEnginePage::loadingChanged, this, &QtWebBrowser::loadingChanged);
    connect(page_, &QWebEnginePage::urlChanged, this, [this] { urlChanged(); });
}

QtWebBrowser::~QtWebBrowser() {
    *alive_ = false;
    delete view_.data();
    delete page_;
}

QWidget* QtWebBrowser::widget() {
    return view_.data();
}
QWebEngineView* QtWebBrowser::view() const {
    return view_.data();
}
QWebEnginePage* QtWebBrowser::page() const {
    return page_;
}

QList<QWebEngineView*> QtWebBrowser::openWindows() const {
    QList<QWebEngineView*> open;
    for (const QPointer<QWebEngineView>& window : windows_) {
        if (window) open.append(window.data());
    }
    return open;
}

QString QtWebBrowser::htmlColor(BgrColor color) {
    return QString::asprintf("#%02X%02X%02X", color & 0xFFu, (color >> 8) & 0xFFu,
                             (color >> 16) & 0xFFu);
}

void QtWebBrowser::Navigate2(const QString& url) {
    Navigate2(url, QString(), {}, QString());
}

void QtWebBrowser::Navigate2(const QString& url, const QString& target, const QByteArray& post_data,
                             const QString& headers) {
    if (target.compare(QLatin1String("_blank"), Qt::CaseInsensitive) == 0) {
        openWindow(url, post_data, headers);
        return;
    }
    NavigationRequest request;
    request.url = url;
    request.target_frame = target;
    request.post_data = post_data;
    request.headers = headers;
    emit BeforeNavigate2(request);
    if (request.cancel) return;
    startLoad(url, post_data, headers);
}

void QtWebBrowser::Navigate(const QString& url) {
    Navigate2(url);
}

void QtWebBrowser::startLoad(const QString& url, const QByteArray& post_data,
                             const QString& headers) {
    sure_form_.reset();
    weak_form_.reset();
    requested_url_ = url;
    loading_ = true;
    committed_ = false;
    if (isAbout(url)) {
        pending_about_url_ = url;
        ready_state_ = 1;
        page_->setHtml(aboutDocument(url), aboutBase());
        return;
    }
    pending_about_url_.clear();
    const QUrl target(url);
    // A jump within the page loads nothing, so the document stays complete.
    const bool same_document =
        target.hasFragment() &&
        target.adjusted(QUrl::RemoveFragment) == page_->url().adjusted(QUrl::RemoveFragment);
    if (!same_document) ready_state_ = 1;
    if (post_data.isEmpty() && headers.isEmpty()) {
        page_->load(target);
    } else {
        page_->load(httpRequest(url, post_data, headers));
    }
}

void QtWebBrowser::openWindow(const QString& url, const QByteArray& post_data,
                              const QString& headers) {
    QWebEnginePage* page = newWindowPage();
    if (isAbout(url)) {
        page->setHtml(aboutDocument(url), aboutBase());
    } else {
        page->load(httpRequest(url, post_data, headers));
    }
}

QWebEnginePage* QtWebBrowser::newWindowPage() {
    QWebEnginePage* page = separateWindow(profile_);
    std::erase_if(windows_, [](const QPointer<QWebEngineView>& w) { return w.isNull(); });
    windows_.emplace_back(qobject_cast<QWebEngineView*>(page->parent()));
    return page;
}

bool QtWebBrowser::acceptNavigation(const QUrl& url, int type, bool main_frame) {
    // Server redirects belong to the navigation already announced; the old browser raised
    // nothing for them, and a second event would lose what the first one told.
    if (type == QWebEnginePage::NavigationTypeRedirect) return true;
    std::optional<FormReport> form;
    if (type == QWebEnginePage::NavigationTypeFormSubmitted) {
        form = sure_form_ ? sure_form_ : weak_form_;
    }
    if (main_frame || form) {
        sure_form_.reset();
        weak_form_.reset();
    }
    // The program's own loads were announced by Navigate2.
    if (type == QWebEnginePage::NavigationTypeTyped && main_frame) return true;

    NavigationRequest request;
    // A document made from markup reloads from its data; callers know it by its "about:" name.
    request.url = url.scheme() == QLatin1String("data") && main_frame && !about_url_.isEmpty()
                      ? about_url_
                      : url.toString();
    request.main_frame = main_frame;
    if (form) {
        request.target_frame = form->target;
        request.countdown_ap = form->countdown;
        if (form->method == QLatin1String("post")) {
            request.post_data = form->body;
            request.headers = QStringLiteral("Content-Type: %1\r\n")
                                  .arg(form->enctype == QLatin1String("text/plain")
                                           ? QStringLiteral("text/plain")
                                           : QStringLiteral("application/x-www-form-urlencoded"));
        }
    }
    emit BeforeNavigate2(request);
    if (request.cancel) return false;
    if (main_frame) {
        requested_url_.clear();
        pending_about_url_.clear();
        loading_ = true;
        committed_ = false;
    }
    return true;
}

void QtWebBrowser::pageReport(const QString& message) {
    if (!message.startsWith(token_)) return;
    const QString rest = message.mid(token_.size());
    const qsizetype space = rest.indexOf(QLatin1Char(' '));
    if (space < 0) return;
    const QString kind = rest.left(space);
    const QJsonObject data = QJsonDocument::fromJson(rest.mid(space + 1).toUtf8()).object();
    if (kind == QLatin1String("form")) {
        FormReport report;
        report.method = data.value(QLatin1String("method")).toString().toLower();
        report.target = data.value(QLatin1String("target")).toString();
        report.enctype = data.value(QLatin1String("enctype")).toString().toLower();
        // One character per byte.
        report.body = data.value(QLatin1String("body")).toString().toLatin1();
        report.countdown =
            fieldRead(data.value(QLatin1String("countdown")).toObject().toVariantMap());
        if (data.value(QLatin1String("sure")).toBool()) {
            sure_form_ = std::move(report);
        } else {
            weak_form_ = std::move(report);
        }
    } else if (kind == QLatin1String("nav")) {
        const QString url = data.value(QLatin1String("url")).toString();
        if (!isAbout(url)) return;
        NavigationRequest request;
        request.url = url;
        emit BeforeNavigate2(request);
        if (!request.cancel) startLoad(url, {}, QString());
    }
}

void QtWebBrowser::loadingChanged(const QWebEngineLoadingInfo& info) {
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            loading_ = true;
            committed_ = false;
            ready_state_ = 1;
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus: {
            loading_ = false;
            aboutCommitted();
            ready_state_ = 4;
            if (!committed_) {
                committed_ = true;
                emit NavigateComplete2(currentUrl());
                // A handler may have started another load already.
                if (ready_state_ != 4) return;
            }
            emit DocumentComplete(currentUrl());
            return;
        }
        case QWebEngineLoadingInfo::LoadStoppedStatus:
        case QWebEngineLoadingInfo::LoadFailedStatus:
            // No document will complete; pollers must not wait for one.
            loading_ = false;
            pending_about_url_.clear();
            ready_state_ = 4;
            return;
    }
}

void QtWebBrowser::urlChanged() {
    if (!loading_ || committed_) return;
    committed_ = true;
    aboutCommitted();
    if (ready_state_ < 3) ready_state_ = 3;
    emit NavigateComplete2(currentUrl());
}

QString QtWebBrowser::currentUrl() const {
    const QUrl url = page_->url();
    if (url.scheme() == QLatin1String("about")) {
        return about_url_.isEmpty() ? url.toString() : about_url_;
    }
    if (!requested_url_.isEmpty() && QUrl(requested_url_) == url) return requested_url_;
    return url.toString();
}

void QtWebBrowser::aboutCommitted() {
    if (pending_about_url_.isEmpty() || page_->url().scheme() != QLatin1String("about")) return;
    about_url_ = pending_about_url_;
    pending_about_url_.clear();
}

QString QtWebBrowser::LocationURL() const {
    return currentUrl();
}
int QtWebBrowser::ReadyState() const {
    return ready_state_;
}

void QtWebBrowser::GoBack() {
    page_->triggerAction(QWebEnginePage::Back);
}
void QtWebBrowser::GoForward() {
    page_->triggerAction(QWebEnginePage::Forward);
}
void QtWebBrowser::Refresh() {
    page_->triggerAction(QWebEnginePage::Reload);
}
void QtWebBrowser::Refresh2() {
    page_->triggerAction(QWebEnginePage::Reload);
}
void QtWebBrowser::Stop() {
    page_->triggerAction(QWebEnginePage::Stop);
}
void QtWebBrowser::setSilent(bool silent) {
    silent_ = silent;
}

void QtWebBrowser::setFocus() {
    if (view_) view_->setFocus();
}

void QtWebBrowser::runScript(const QString& script, std::function<void(const QVariant&)> done) {
    std::shared_ptr<bool> alive = alive_;
    page_->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                         [alive, done = std::move(done)](const QVariant& result) {
                             if (*alive && done) done(result);
                         });
}

void QtWebBrowser::runTextScript(const QString& script,
                                 std::function<void(std::optional<QString>)> done) {
    runScript(script, [done = std::move(done)](const QVariant& result) {
        if (!done) return;
        if (result.typeId() == QMetaType::QString) {
            done(result.toString());
        } else {
            done(std::nullopt);
        }
    });
}

void QtWebBrowser::readBody(bool outer, std::function<void(std::optional<QString>)> done) {
    const QString script = QString::fromUtf8(browser_scripts::kSerializeBodyStart) +
                           QString::fromUtf8(browser_scripts::kSerializerParts) +
                           QString::fromUtf8(browser_scripts::kSerializeBody) +
                           (outer ? QStringLiteral("(true)") : QStringLiteral("(false)"));
    runTextScript(script, std::move(done));
}

void QtWebBrowser::readBodyInnerHtml(std::function<void(std::optional<QString>)> done) {
    readBody(false, std::move(done));
}

void QtWebBrowser::readBodyOuterHtml(std::function<void(std::optional<QString>)> done) {
    readBody(true, std::move(done));
}

void QtWebBrowser::readBodyRowsHtml(int rows, std::function<void(std::optional<QString>)> done) {
    const QString script = QString::fromUtf8(browser_scripts::kSerializeBodyRowsStart) +
                           QString::fromUtf8(browser_scripts::kSerializerParts) +
                           QString::fromUtf8(browser_scripts::kSerializeBodyRows) +
                           QStringLiteral("(%1)").arg(rows);
    runTextScript(script, std::move(done));
}

void QtWebBrowser::writeBodyInnerHtml(const QString& html) {
    runScript(call("(function (h) { if (document.body) document.body.innerHTML = h; })", {html}),
              {});
}

void QtWebBrowser::setBodyAttribute(const QString& name, BgrColor color) {
    runScript(call("(function (n, v) { if (document.body) document.body.setAttribute(n, v); })",
                   {name, htmlColor(color)}),
              {});
}

void QtWebBrowser::setBodyBgColor(BgrColor color) {
    setBodyAttribute(QStringLiteral("bgcolor"), color);
}

void QtWebBrowser::setBodyTextColor(BgrColor color) {
    setBodyAttribute(QStringLiteral("text"), color);
}

void QtWebBrowser::setLinkColors(BgrColor link, BgrColor vlink, BgrColor alink) {
    setBodyAttribute(QStringLiteral("link"), link);
    setBodyAttribute(QStringLiteral("vlink"), vlink);
    setBodyAttribute(QStringLiteral("alink"), alink);
}

void QtWebBrowser::setCookie(const QString& cookie) {
    setCookieForUrl(cookie, page_->url());
}

void QtWebBrowser::setCookieForUrl(const QString& cookie, const QUrl& site) {
    // A document without a site (about:, nothing loaded) takes no cookie.
    if (site.scheme() != QLatin1String("http") && site.scheme() != QLatin1String("https")) return;
    // The old browser sent cookie text in the system code page.
    const QByteArray raw = QByteArray::fromStdString(to_cp1252(cookie.toStdString()));
    QNetworkCookie parsed;
    const QList<QNetworkCookie> cookies = QNetworkCookie::parseCookies(raw);
    if (cookies.size() == 1) {
        parsed = cookies.front();
    } else {
        const QByteArray pair = raw.left(raw.indexOf(';') < 0 ? raw.size() : raw.indexOf(';'));
        const qsizetype eq = pair.indexOf('=');
        parsed.setName(eq < 0 ? QByteArray() : pair.left(eq).trimmed());
        parsed.setValue((eq < 0 ? pair : pair.mid(eq + 1)).trimmed());
    }
    if (parsed.path().isEmpty()) parsed.setPath(QStringLiteral("/"));
    QUrl origin;
    origin.setScheme(site.scheme());
    origin.setHost(site.host());
    origin.setPort(site.port());
    origin.setPath(QStringLiteral("/"));
    profile_->cookieStore()->setCookie(parsed, origin);
}

void QtWebBrowser::readFormField(const QString& form, const QString& field,
                                 std::function<void(FormFieldRead)> done) {
    runScript(call(browser_scripts::kReadFormField, {form, field}),
              [done = std::move(done)](const QVariant& result) {
                  if (done) done(fieldRead(result.toMap()));
              });
}

}  // namespace zeko
