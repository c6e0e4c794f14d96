#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <utility>

class QWidget;

namespace zeko {

// A field read from a form of the page, by form name and field name.
struct FormFieldRead {
    enum class Status {
        Value,        // the field was there; `value` holds it
        MissingForm,  // the document has no form (or field) of that name
        Failed,       // anything else went wrong
    };
    Status status = Status::MissingForm;
    QString value;
};

// What a navigation is about to do, seen before it happens.
struct NavigationRequest {
    QString url;
    QString target_frame;
    // The post body exactly as it will be sent; empty for a plain request.
    QByteArray post_data;
    QString headers;
    bool main_frame = true;
    // The field "ap" of the form "countdn" of the page being left, read when the form was sent.
    FormFieldRead countdown_ap;
    // A handler sets this to stop the navigation; the browser then stays on its page.
    bool cancel = false;
};

// Colours are the program's &HBBGGRR numbers.
using BgrColor = quint32;

// The browser every window uses: the operations and events the program relies on, over
// whichever engine is underneath. Document reads answer through a callback, since the page
// lives in another process; the callback may run after the call returns.
class WebBrowser : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    ~WebBrowser() override = default;

    virtual QWidget* widget() = 0;

    // Loads a URL here; "about:blank" gives an empty document, "about:" followed by markup a
    // document of that markup.
    virtual void Navigate2(const QString& url) = 0;
    // With target "_blank": opens the page in a separate top-level browser window that is
    // never followed (and raises no event here). With post data: posts it (as a form unless
    // the headers say otherwise).
    virtual void Navigate2(const QString& url, const QString& target, const QByteArray& post_data,
                           const QString& headers) = 0;
    virtual void Navigate(const QString& url) = 0;

    // These do nothing when there is nothing to do (no history, nothing loading).
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;
    virtual void Refresh2() = 0;
    virtual void Stop() = 0;
    virtual void setSilent(bool silent) = 0;
    virtual void setFocus() = 0;

    // 4 when the document is complete, or when a load has ended without one (failed or
    // stopped), so that pollers never wait forever; 1 to 3 while loading; 0 before any load.
    virtual int ReadyState() const = 0;
    virtual QString LocationURL() const = 0;

    // The body's markup in the classic form: upper-case tag names, attribute values unquoted
    // when they hold only letters, digits and "-_.:". A bare "<" or ">" belongs to a tag of the
    // page or to a comment's "<!--" and "-->"; inside values, comments and script text they
    // read "&lt;" and "&gt;". Empty optional: no document or body.
    virtual void readBodyInnerHtml(std::function<void(std::optional<QString>)> done) = 0;
    virtual void readBodyOuterHtml(std::function<void(std::optional<QString>)> done) = 0;
    // As much of readBodyInnerHtml's text as a reader of the first `rows` table rows needs,
    // which is far less on a page with much else: from the first "<TR>" (a row tag without
    // attributes) to the end of the element holding the `rows`-th "</TR>" after it; the whole
    // text when there is no such tag; an empty text when the body holds no table row at all.
    // This default reads the whole text.
    virtual void readBodyRowsHtml(int rows, std::function<void(std::optional<QString>)> done) {
        (void)rows;
        readBodyInnerHtml(std::move(done));
    }
    // Replaces the body's content.
    virtual void writeBodyInnerHtml(const QString& html) = 0;
    virtual void setBodyBgColor(BgrColor color) = 0;
    virtual void setBodyTextColor(BgrColor color) = 0;
    virtual void setLinkColors(BgrColor link, BgrColor vlink, BgrColor alink) = 0;
    // Sets a cookie ("name=value") for the site of the current document.
    virtual void setCookie(const QString& cookie) = 0;
    // Sets a cookie ("name=value") for the site of `url` (scheme, host and port), whatever
    // document is shown; a URL that is not http or https takes none.
    virtual void setCookieForUrl(const QString& cookie, const QUrl& url) = 0;
    // Reads a field of a named form of the current document.
    virtual void readFormField(const QString& form, const QString& field,
                               std::function<void(FormFieldRead)> done) = 0;

  signals:
    // Before any navigation of this browser, frames included (not for the "_blank" windows).
    // Handlers run before the navigation goes on and may set `request.cancel`; connect them
    // directly (the default), since the request is handed over by reference.
    void BeforeNavigate2(zeko::NavigationRequest& request);
    // The new document is reachable (it may not have a body yet).
    void NavigateComplete2(const QString& url);
    // The page (or frame) has finished loading. A page that fails to load sends none.
    void DocumentComplete(const QString& url);
};

}  // namespace zeko
