// The Qt WebEngine browser against pages served on 127.0.0.1 by a small server in the test.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/qt_web_browser.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"

namespace zeko {
namespace {

using testing::wait_until;

struct Request {
    QByteArray method;
    QByteArray path;                       // with the query
    QMap<QByteArray, QByteArray> headers;  // names in lower case
    QByteArray body;
};

// Answers each request with the page registered for its path (query left out), or 404.
class TestServer {
  public:
    TestServer() { server_.listen(QHostAddress::LocalHost, 0); }
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    void serve(const QByteArray& path, const QByteArray& body,
               const QByteArray& type = "text/html; charset=utf-8") {
        pages_[path] = {type, body};
    }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    const Request* find(const QByteArray& method, const QByteArray& path) const {
        for (const Request& r : requests) {
            if (r.method == method && r.path == path) return &r;
        }
        return nullptr;
    }
    std::vector<Request> requests;

  private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket,
                             [this, socket, buffer] { read(socket, *buffer); });
        }
    }
    void read(QTcpSocket* socket, QByteArray& buffer) {
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        Request request;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.front().trimmed().split(' ');
        if (first.size() < 2) return;
        request.method = first[0];
        request.path = first[1];
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0) {
                request.headers[lines[i].left(colon).trimmed().toLower()] =
                    lines[i].mid(colon + 1).trimmed();
            }
        }
        const qsizetype length = request.headers.value("content-length", "0").toLongLong();
        if (buffer.size() < end + 4 + length) return;
        request.body = buffer.mid(end + 4, length);
        buffer.clear();
        requests.push_back(request);

        const QByteArray path = request.path.left(
            request.path.indexOf('?') < 0 ? request.path.size() : request.path.indexOf('?'));
        QByteArray status = "200 OK";
        std::pair<QByteArray, QByteArray> page{"text/plain", "not here"};
        if (auto it = pages_.find(path); it != pages_.end()) {
            page = it->second;
        } else {
            status = "404 Not Found";
        }
        socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + page.first +
                      "\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(page.second.size()) + "\r\n\r\n" + page.second);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    std::map<QByteArray, std::pair<QByteArray, QByteArray>> pages_;
    QMetaObject::Connection connection_ =
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { accept(); });
};

// Everything the browser told, in order.
struct Events {
    explicit Events(WebBrowser& browser) {
        QObject::connect(&browser, &WebBrowser::BeforeNavigate2, [this](NavigationRequest& r) {
            log.push_back(QStringLiteral("before ") + r.url);
            requests.push_back(r);
            if (on_before) on_before(r);
        });
        QObject::connect(&browser, &WebBrowser::NavigateComplete2,
                         [this](const QString& url) { log.push_back("navigated " + url); });
        QObject::connect(&browser, &WebBrowser::DocumentComplete, [this](const QString& url) {
            log.push_back("complete " + url);
            ++completed;
        });
    }
    std::vector<QString> log;
    std::vector<NavigationRequest> requests;
    int completed = 0;
    std::function<void(NavigationRequest&)> on_before;
};

class WebBrowserTest : public ::testing::Test {
  protected:
    WebBrowserTest() : events(browser) {
        browser.setSilent(true);
        browser.widget()->resize(800, 600);
        browser.widget()->show();
    }

    // Loads a page and waits for its DocumentComplete.
    void load(const QString& url) {
        const int before = events.completed;
        browser.Navigate2(url);
        ASSERT_TRUE(wait_until([&] { return events.completed > before; })) << url.toStdString();
    }
    // Runs a script in the page (as the page's own scripts would) and waits for it.
    QVariant run(const QString& script) {
        std::optional<QVariant> result;
        browser.page()->runJavaScript(script, [&](const QVariant& v) { result = v; });
        wait_until([&] { return result.has_value(); });
        return result.value_or(QVariant());
    }
    std::optional<QString> innerHtml() {
        std::optional<std::optional<QString>> got;
        browser.readBodyInnerHtml([&](std::optional<QString> html) { got = html; });
        EXPECT_TRUE(wait_until([&] { return got.has_value(); }));
        return got.value_or(std::nullopt);
    }
    std::optional<QString> outerHtml() {
        std::optional<std::optional<QString>> got;
        browser.readBodyOuterHtml([&](std::optional<QString> html) { got = html; });
        EXPECT_TRUE(wait_until([&] { return got.has_value(); }));
        return got.value_or(std::nullopt);
    }
    FormFieldRead field(const QString& form, const QString& name) {
        std::optional<FormFieldRead> got;
        browser.readFormField(form, name, [&](FormFieldRead read) { got = read; });
        EXPECT_TRUE(wait_until([&] { return got.has_value(); }));
        return got.value_or(FormFieldRead{FormFieldRead::Status::Failed, {}});
    }
    // Waits for the page at `path` to complete after log entry `from` (taken before the
    // action that leads there).
    void waitForPage(const QString& path, size_t from) {
        const QString entry = "complete " + server.url(path);
        ASSERT_TRUE(wait_until([&] {
            return std::find(events.log.begin() + static_cast<std::ptrdiff_t>(from),
                             events.log.end(), entry) != events.log.end();
        })) << path.toStdString();
    }
    size_t mark() const { return events.log.size(); }
    size_t indexOf(const QString& entry) const {
        return static_cast<size_t>(std::find(events.log.begin(), events.log.end(), entry) -
                                   events.log.begin());
    }

    TestServer server;
    QtWebBrowser browser;
    Events events;
    size_t from = 0;
};

TEST_F(WebBrowserTest, BodyReadsBackInTheClassicForm) {
    server.serve("/nb",
                 "<html><head><title>t</title></head><body><!-- map -->"
                 "<table class=\"nb\" id=nb><tr><td>West &amp; North</td>"
                 "<td><span class=\"intersect\">Aardvark and 1st</span></td>"
                 "<td style=\"color: red\">x&nbsp;y</td></tr></table>"
                 "<p title='a \"b\"' data-x=\"\" lang=\"en-GB\">1 &lt; 2 &gt; 0<br>"
                 "<img src=\"/i.gif\" alt=\"\"></p>"
                 "<script>var a = \"<b>&amp;\";</script></body></html>");
    load(server.url("/nb"));
    const QString inner =
        "<!-- map --><TABLE class=nb id=nb><TBODY><TR><TD>West &amp; North</TD>"
        "<TD><SPAN class=intersect>Aardvark and 1st</SPAN></TD>"
        "<TD style=\"color: red\">x&nbsp;y</TD></TR></TBODY></TABLE>"
        "<P title=\"a &quot;b&quot;\" data-x=\"\" lang=en-GB>1 &lt; 2 &gt; 0<BR>"
        "<IMG src=\"/i.gif\" alt=\"\"></P>"
        "<SCRIPT>var a = \"<b>&amp;\";</SCRIPT>";
    EXPECT_EQ(innerHtml(), inner);
    EXPECT_EQ(outerHtml(), "<BODY>" + inner + "</BODY>");

    // A document without a body.
    server.serve("/pic", "<svg xmlns=\"http://www.w3.org/2000/svg\"></svg>", "image/svg+xml");
    load(server.url("/pic"));
    EXPECT_EQ(innerHtml(), std::nullopt);
    EXPECT_EQ(outerHtml(), std::nullopt);
}

// The game's move form: a field named "action", the submit button between the fields, a page
// in Windows-1252.
QByteArray moveForm(const QByteArray& countdown, const QByteArray& target) {
    return "<html><body>" + countdown + "<form id=\"mv\" method=\"post\" action=\"" + target +
           "\"><input type=\"hidden\" name=\"action\" value=\"move\">"
           "<input type=\"hidden\" name=\"x\" value=\"12\"><textarea name=\"t\">a\nb "
           "\xe9</textarea>"
           "<input type=\"submit\" id=\"go\" name=\"go\" value=\"Go!\">"
           "<input type=\"hidden\" name=\"y\" value=\"34\"></form></body></html>";
}
constexpr char kLatin1[] = "text/html; charset=windows-1252";

TEST_F(WebBrowserTest, FormPostIsToldBeforeTheNextPageWithTheBytesSent) {
    server.serve("/move", moveForm("<form name=countdn><input name=ap value=5></form>", "/moved"),
                 kLatin1);
    server.serve("/moved", "<html><body>moved</body></html>");
    load(server.url("/move"));
    bool posted_before = true;
    events.on_before = [&](NavigationRequest&) {
        posted_before = server.find("POST", "/moved") != nullptr;
    };
    from = mark();
    run("document.getElementById('go').click()");
    waitForPage("/moved", from);

    const Request* post = server.find("POST", "/moved");
    ASSERT_NE(post, nullptr);
    ASSERT_EQ(events.requests.size(), 2u);  // the program's load, then the post
    const NavigationRequest& request = events.requests[1];
    EXPECT_EQ(request.url, server.url("/moved"));
    EXPECT_EQ(request.post_data, post->body);
    EXPECT_EQ(request.post_data, "action=move&x=12&t=a%0D%0Ab+%E9&go=Go%21&y=34");
    EXPECT_TRUE(request.headers.contains("application/x-www-form-urlencoded"));
    EXPECT_TRUE(request.main_frame);
    EXPECT_EQ(request.countdown_ap.status, FormFieldRead::Status::Value);
    EXPECT_EQ(request.countdown_ap.value, "5");
    EXPECT_FALSE(posted_before);
    EXPECT_LT(indexOf("before " + server.url("/moved")),
              indexOf("complete " + server.url("/moved")));
    EXPECT_EQ(browser.LocationURL(), server.url("/moved"));
}

TEST_F(WebBrowserTest, CountdownIsReadFromThePageBeingLeft) {
    // Sent by the script call rather than a button, with no points left.
    server.serve("/move0", moveForm("<form name=countdn><input name=ap value=0></form>", "/m0"),
                 kLatin1);
    server.serve("/m0", "<html><body><form name=countdn><input name=ap value=9></form></body>");
    load(server.url("/move0"));
    from = mark();
    run("document.getElementById('mv').submit()");
    waitForPage("/m0", from);
    const Request* post = server.find("POST", "/m0");
    ASSERT_NE(post, nullptr);
    EXPECT_EQ(events.requests.back().post_data, post->body);
    EXPECT_EQ(events.requests.back().post_data, "action=move&x=12&t=a%0D%0Ab+%E9&y=34");
    EXPECT_EQ(events.requests.back().countdown_ap.status, FormFieldRead::Status::Value);
    EXPECT_EQ(events.requests.back().countdown_ap.value, "0");
    EXPECT_EQ(field("countdn", "ap").value, "9");

    // No countdown form, and a countdown form without the field.
    server.serve("/free", moveForm("", "/f2"), kLatin1);
    server.serve("/f2", moveForm("<form name=countdn><input name=hp value=3></form>", "/f3"),
                 kLatin1);
    server.serve("/f3", "<html><body>done</body></html>");
    load(server.url("/free"));
    EXPECT_EQ(field("countdn", "ap").status, FormFieldRead::Status::MissingForm);
    from = mark();
    run("document.getElementById('go').click()");
    waitForPage("/f2", from);
    EXPECT_EQ(events.requests.back().countdown_ap.status, FormFieldRead::Status::MissingForm);
    EXPECT_EQ(events.requests.back().post_data, server.find("POST", "/f2")->body);
    EXPECT_EQ(field("countdn", "ap").status, FormFieldRead::Status::MissingForm);
    EXPECT_EQ(field("countdn", "hp").value, "3");
    from = mark();
    run("document.getElementById('go').click()");
    waitForPage("/f3", from);
    EXPECT_EQ(events.requests.back().countdown_ap.status, FormFieldRead::Status::MissingForm);
    EXPECT_EQ(events.requests.back().post_data, server.find("POST", "/f3")->body);
}

TEST_F(WebBrowserTest, LinksFramesAndHistoryCarryNoPost) {
    server.serve("/links", "<html><body><a id=l href=\"/target\">go</a></body></html>");
    server.serve("/target",
                 "<html><body><iframe src=\"/inner\"></iframe>"
                 "<form id=g action=\"/found\"><input name=q value=\"a b\"></form></body></html>");
    server.serve("/inner", "<html><body>inner</body></html>");
    server.serve("/found", "<html><body>found</body></html>");
    load(server.url("/links"));
    ASSERT_EQ(events.requests.size(), 1u);
    EXPECT_EQ(events.requests[0].url, server.url("/links"));  // the program's own load

    from = mark();
    run("document.getElementById('l').click()");
    waitForPage("/target", from);
    ASSERT_EQ(events.requests.size(), 3u);
    EXPECT_EQ(events.requests[1].url, server.url("/target"));
    EXPECT_TRUE(events.requests[1].post_data.isEmpty());
    EXPECT_TRUE(events.requests[1].main_frame);
    EXPECT_EQ(events.requests[2].url, server.url("/inner"));
    EXPECT_FALSE(events.requests[2].main_frame);

    load(server.url("/found"));
    from = mark();
    browser.GoBack();
    waitForPage("/target", from);
    EXPECT_EQ(events.log[from], "before " + server.url("/target"));
    EXPECT_TRUE(events.requests[4].post_data.isEmpty());
    EXPECT_EQ(browser.ReadyState(), 4);

    // A form sent by GET puts its fields into the address, not into a post.
    from = mark();
    run("document.getElementById('g').submit()");
    waitForPage("/found?q=a+b", from);
    EXPECT_EQ(events.log[from], "before " + server.url("/found?q=a+b"));
    EXPECT_TRUE(events.requests.back().post_data.isEmpty());
}

TEST_F(WebBrowserTest, CookieReachesTheSite) {
    server.serve("/login", "<html><body>login</body></html>");
    server.serve("/welcome", "<html><body>welcome</body></html>");
    load(server.url("/login"));
    browser.setCookie("ip=Vlad#s3cret");
    load(server.url("/welcome"));
    const Request* welcome = server.find("GET", "/welcome");
    ASSERT_NE(welcome, nullptr);
    EXPECT_TRUE(welcome->headers.value("cookie").contains("ip=Vlad#s3cret"))
        << welcome->headers.value("cookie").toStdString();
}

TEST_F(WebBrowserTest, AboutPagesAreMadeOfTheirMarkup) {
    load("about:blank");
    EXPECT_EQ(events.log.back(), "complete about:blank");
    EXPECT_EQ(browser.ReadyState(), 4);
    EXPECT_EQ(innerHtml(), "");
    // The main window's first page.
    browser.setBodyBgColor(0x3000);
    browser.setBodyTextColor(0x80FF80);
    browser.writeBodyInnerHtml("Loading...");
    EXPECT_EQ(outerHtml(), "<BODY bgcolor=\"#003000\" text=\"#80FF80\">Loading...</BODY>");

    server.serve("/logo.gif", "GIF89a", "image/gif");
    const QString url = "about:<table><tr><td id=c>Hi</td></tr></table><img src=\"" +
                        server.url("/logo.gif") + "\">";
    load(url);
    EXPECT_EQ(browser.LocationURL(), url);
    EXPECT_EQ(events.log.back(), "complete " + url);
    EXPECT_EQ(innerHtml(), "<TABLE><TBODY><TR><TD id=c>Hi</TD></TR></TBODY></TABLE><IMG src=\"" +
                               server.url("/logo.gif") + "\">");
    EXPECT_TRUE(wait_until([&] { return server.find("GET", "/logo.gif") != nullptr; }));
    // Cells take the body's text colour (no quirks mode).
    browser.setBodyTextColor(0x80FF80);
    EXPECT_TRUE(wait_until([&] {
        return run("getComputedStyle(document.getElementById('c')).color").toString() ==
               "rgb(128, 255, 128)";
    }));

    // A relative link in such a page goes to "about:blank" followed by the link, as it did.
    browser.writeBodyInnerHtml("<a id=t href=\"22\">topic</a>");
    events.on_before = [](NavigationRequest& r) { r.cancel = r.url.startsWith("about:blank"); };
    run("document.getElementById('t').click()");
    ASSERT_TRUE(wait_until([&] { return events.requests.back().url == "about:blank22"; }));
    EXPECT_EQ(browser.LocationURL(), url);
    EXPECT_EQ(innerHtml(), "<A id=t href=22>topic</A>");
}

TEST_F(WebBrowserTest, ProgramPostsHereAndInSeparateWindows) {
    server.serve("/posted", "<html><body>posted<a id=n target=_blank href=/other>n</a></body>");
    server.serve("/popup", "<html><body>popup</body></html>");
    server.serve("/other", "<html><body>other</body></html>");
    from = mark();
    browser.Navigate2(server.url("/posted"), QString(), "a=1&b=x+y", QString());
    waitForPage("/posted", from);
    ASSERT_EQ(events.requests.size(), 1u);
    EXPECT_EQ(events.requests[0].post_data, "a=1&b=x+y");
    const Request* posted = server.find("POST", "/posted");
    ASSERT_NE(posted, nullptr);
    EXPECT_EQ(posted->body, "a=1&b=x+y");
    EXPECT_EQ(posted->headers.value("content-type"), "application/x-www-form-urlencoded");

    browser.Navigate2(server.url("/popup"), "_blank", "c=3", QString());
    ASSERT_TRUE(wait_until([&] { return server.find("POST", "/popup") != nullptr; }));
    EXPECT_EQ(server.find("POST", "/popup")->body, "c=3");
    EXPECT_EQ(server.find("POST", "/popup")->headers.value("content-type"),
              "application/x-www-form-urlencoded");
    ASSERT_EQ(browser.openWindows().size(), 1);
    EXPECT_TRUE(browser.openWindows()[0]->isWindow());
    EXPECT_EQ(events.requests.size(), 1u);  // never followed here
    EXPECT_EQ(browser.LocationURL(), server.url("/posted"));

    // A page's own new window.
    run("document.getElementById('n').click()");
    ASSERT_TRUE(wait_until([&] { return server.find("GET", "/other") != nullptr; }));
    EXPECT_EQ(browser.openWindows().size(), 2);
    EXPECT_EQ(browser.LocationURL(), server.url("/posted"));

    QPointer<QWebEngineView> first = browser.openWindows()[0];
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_EQ(browser.openWindows().size(), 1);

    // The windows outlive the browser that opened them.
    QPointer<QWebEngineView> second = browser.openWindows()[0];
    {
        QtWebBrowser opener;
        opener.Navigate2("about:<p>x</p>", "_blank", {}, QString());
        ASSERT_EQ(opener.openWindows().size(), 1);
        first = opener.openWindows()[0];
    }
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(first->isVisible());
    first->close();
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST_F(WebBrowserTest, FailedLoadCompletesNothing) {
    quint16 closed_port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closed_port = probe.serverPort();
    }
    browser.Navigate2(QStringLiteral("http://127.0.0.1:%1/").arg(closed_port));
    EXPECT_LT(browser.ReadyState(), 4);
    // Pollers of the ready state see the attempt end.
    EXPECT_TRUE(wait_until([&] { return browser.ReadyState() == 4; }));
    EXPECT_EQ(events.completed, 0);
}

TEST_F(WebBrowserTest, SilentPagesShowNoDialogs) {
    server.serve("/ask",
                 "<html><body><script>alert('hi'); document.title = String(confirm('sure?'));"
                 "</script></body></html>");
    load(server.url("/ask"));
    EXPECT_EQ(browser.page()->title(), "false");
}

TEST(FakeBrowserTest, RecordsCallsAndRaisesScriptedEvents) {
    testing::FakeBrowser fake;
    EXPECT_EQ(fake.widget()->metaObject()->className(), QStringLiteral("QWidget"));
    fake.Navigate2("about:blank");
    fake.Navigate2("http://h/x", "_blank", "a=1", "H: v");
    fake.setBodyBgColor(0x3000);
    fake.writeBodyInnerHtml("Loading...");
    fake.setCookie("ip=a#b");
    fake.GoBack();
    EXPECT_EQ(fake.calls,
              QStringList({"Navigate2 about:blank", "Navigate2 http://h/x", "setBodyBgColor 3000",
                           "writeBodyInnerHtml Loading...", "setCookie ip=a#b", "GoBack"}));
    EXPECT_EQ(fake.navigations[1],
              (testing::FakeBrowser::Navigation{"http://h/x", "_blank", "a=1", "H: v", false}));

    // Reads answer from the script, later when asked to.
    fake.defer_reads = true;
    fake.form_fields[{"countdn", "ap"}] = {FormFieldRead::Status::Value, "7"};
    std::optional<QString> body;
    FormFieldRead ap;
    fake.readBodyInnerHtml([&](std::optional<QString> html) { body = html; });
    fake.readFormField("countdn", "ap", [&](FormFieldRead read) { ap = read; });
    EXPECT_FALSE(body.has_value());
    fake.answerReads();
    EXPECT_EQ(body, "Loading...");
    EXPECT_EQ(ap.value, "7");

    QStringList seen;
    QObject::connect(&fake, &WebBrowser::BeforeNavigate2,
                     [&](const NavigationRequest& r) { seen.append(r.url); });
    QObject::connect(&fake, &WebBrowser::BeforeNavigate2,
                     [](NavigationRequest& r) { r.cancel = true; });
    QObject::connect(&fake, &WebBrowser::DocumentComplete,
                     [&](const QString& url) { seen.append(url); });
    EXPECT_TRUE(fake.fireBeforeNavigate2("about:blank22").cancel);
    fake.completeNavigation();
    EXPECT_EQ(seen, QStringList({"about:blank22", "http://h/x"}));
    EXPECT_EQ(fake.LocationURL(), "http://h/x");
}

}  // namespace
}  // namespace zeko
