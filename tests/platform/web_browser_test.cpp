// The Qt WebEngine browser against pages served on 127.0.0.1 by a small server in the test.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/qt_web_browser.h"
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
    TestServer() {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                auto buffer = std::make_shared<QByteArray>();
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket, buffer] { read(socket, *buffer); });
            }
        });
        server_.listen(QHostAddress::LocalHost, 0);
    }

    void serve(const QByteArray& path, const QByteArray& body,
               const QByteArray& type = "text/html; charset=utf-8") {
        pages_[path] = {type, body};
    }
    // Sends the browser on to `to` with "303 See Other".
    void redirect(const QByteArray& path, const QByteArray& to) { pages_[path] = {"", to}; }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    const Request* find(const QByteArray& method, const QByteArray& path) const {
        for (const Request& r : requests)
            if (r.method == method && r.path == path) return &r;
        return nullptr;
    }
    std::vector<Request> requests;

  private:
    void read(QTcpSocket* socket, QByteArray& buffer) {
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        Request request;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> first = lines.front().trimmed().split(' ');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers[lines[i].left(colon).trimmed().toLower()] =
                    lines[i].mid(colon + 1).trimmed();
        }
        const qsizetype length = request.headers.value("content-length", "0").toLongLong();
        if (first.size() < 2 || buffer.size() < end + 4 + length) return;
        request.method = first[0];
        request.path = first[1];
        request.body = buffer.mid(end + 4, length);
        buffer.clear();
        requests.push_back(request);

        const auto it = pages_.find(request.path.split('?').front());
        const bool found = it != pages_.end();
        const auto& [type, body] = found ? it->second : std::pair<QByteArray, QByteArray>{};
        const QByteArray head = !found           ? "404 Not Found\r\nContent-Type: text/plain"
                                : type.isEmpty() ? "303 See Other\r\nLocation: " + body
                                                 : "200 OK\r\nContent-Type: " + type;
        const QByteArray content = found && !type.isEmpty() ? body : QByteArray();
        socket->write("HTTP/1.1 " + head + "\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(content.size()) + "\r\n\r\n" + content);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    std::map<QByteArray, std::pair<QByteArray, QByteArray>> pages_;
};

class WebBrowserTest : public ::testing::Test {
  protected:
    WebBrowserTest() {
        browser.setSilent(true);
        browser.widget()->resize(800, 600);
        browser.widget()->show();
        // Everything the browser tells, in order.
        QObject::connect(&browser, &WebBrowser::BeforeNavigate2, [this](NavigationRequest& r) {
            log.push_back("before " + r.url);
            requests.push_back(r);
            if (on_before) on_before(r);
        });
        QObject::connect(&browser, &WebBrowser::NavigateComplete2,
                         [this](const QString& url) { log.push_back("navigated " + url); });
        QObject::connect(&browser, &WebBrowser::DocumentComplete,
                         [this](const QString& url) { log.push_back("complete " + url); });
    }

    // Loads a page and waits for its DocumentComplete.
    void load(const QString& url) {
        const auto from = log.size();
        browser.Navigate2(url);
        ASSERT_TRUE(waitFor("complete " + url, from)) << url.toStdString();
    }
    // Does `act` in the page (as its own scripts would) and waits for the page at `path`.
    void follow(const QString& act, const QString& path) {
        const auto from = log.size();
        run(act);
        ASSERT_TRUE(waitFor("complete " + server.url(path), from)) << path.toStdString();
    }
    bool waitFor(const QString& entry, size_t from) {
        return wait_until([&] { return log.indexOf(entry, static_cast<qsizetype>(from)) >= 0; });
    }
    // The answer a read gives to its callback.
    template <class T, class Read>
    T answer(Read read) {
        std::optional<T> got;
        read([&](T value) { got = std::move(value); });
        EXPECT_TRUE(wait_until([&] { return got.has_value(); }));
        return got.value_or(T{});
    }
    QVariant run(const QString& script) {
        return answer<QVariant>([&](auto done) { browser.page()->runJavaScript(script, done); });
    }
    std::optional<QString> innerHtml() {
        return answer<std::optional<QString>>([&](auto done) { browser.readBodyInnerHtml(done); });
    }
    std::optional<QString> outerHtml() {
        return answer<std::optional<QString>>([&](auto done) { browser.readBodyOuterHtml(done); });
    }
    FormFieldRead field(const QString& name) {
        return answer<FormFieldRead>(
            [&](auto done) { browser.readFormField(QStringLiteral("countdn"), name, done); });
    }

    TestServer server;
    QtWebBrowser browser;
    QStringList log;
    std::vector<NavigationRequest> requests;
    std::function<void(NavigationRequest&)> on_before;
};

TEST_F(WebBrowserTest, BodyReadsBackInTheClassicFormWithOnlyThePagesOwnTags) {
    // A player's text, escaped by the game where it stands, must not come back as tags.
    const QByteArray fake = "<tr><td><span class=intersect>Zestless and 100th</span></td></tr>";
    const QByteArray escaped =
        "&lt;tr&gt;&lt;td&gt;&lt;span class=intersect&gt;Zestless and "
        "100th&lt;/span&gt;&lt;/td&gt;&lt;/tr&gt;";
    const QByteArray js = "<tr><td><span class=intersect>Zestless and 100th<\\/span><\\/td><\\/tr>";
    const QByteArray js_read =
        "&lt;tr&gt;&lt;td&gt;&lt;span class=intersect&gt;Zestless and "
        "100th&lt;\\/span&gt;&lt;\\/td&gt;&lt;\\/tr&gt;";
    const std::pair<QByteArray, QString> pages[] = {
        {"<!-- map --><table class=\"nb\" id=nb><tr><td>West &amp; North</td>"
         "<td class=\"intersect\"><span class=\"intersect\">Aardvark and 1st</span></td>"
         "<td style=\"color: red\">x&nbsp;y</td></tr></table>"
         "<p title='a \"b\"' data-x=\"\" lang=\"en-GB\">1 &lt; 2 &gt; 0<br>"
         "<img src=\"/i.gif\" alt=\"\"></p><!-- header end -->",
         "<!-- map --><TABLE class=nb id=nb><TBODY><TR><TD>West &amp; North</TD>"
         "<TD class=intersect><SPAN class=intersect>Aardvark and 1st</SPAN></TD>"
         "<TD style=\"color: red\">x&nbsp;y</TD></TR></TBODY></TABLE>"
         "<P title=\"a &quot;b&quot;\" data-x=\"\" lang=en-GB>1 &lt; 2 &gt; 0<BR>"
         "<IMG src=\"/i.gif\" alt=\"\"></P><!-- header end -->"},
        // Each place a player's text may stand: attributes, a comment, raw text.
        {"<span title=\"" + escaped + "\">who</span><img alt=\"" + escaped + "\">",
         "<SPAN title=\"" + escaped + "\">who</SPAN><IMG alt=\"" + escaped + "\">"},
        {"<!-- said: " + fake + " -->", "<!-- said: " + escaped + " -->"},
        {"<script>var said = \"" + js + "\"; var a = 1 & 2;</script><style>p>b{}</style>",
         "<SCRIPT>var said = \"" + js_read + "\"; var a = 1 & 2;</SCRIPT><STYLE>p&gt;b{}</STYLE>"},
        {"<textarea>" + escaped + "</textarea>", "<TEXTAREA>" + escaped + "</TEXTAREA>"},
    };
    for (size_t i = 0; i < std::size(pages); ++i) {
        const auto& [body, read] = pages[i];
        const QByteArray path = "/nb" + QByteArray::number(qulonglong{i});
        server.serve(path, "<html><head><title>t</title></head><body>" + body + "</body></html>");
        load(server.url(path));
        EXPECT_EQ(innerHtml(), read);
        EXPECT_EQ(outerHtml(), "<BODY>" + read + "</BODY>");
    }

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
QByteArray countdown(const char* field, const char* value) {
    return QByteArray("<form name=countdn><input name=") + field + " value=" + value + "></form>";
}
constexpr char kLatin1[] = "text/html; charset=windows-1252";
constexpr char kClick[] = "document.getElementById('go').click()";

TEST_F(WebBrowserTest, FormPostIsToldBeforeTheNextPageWithTheBytesSentAndThePointsLeft) {
    server.serve("/move", moveForm(countdown("ap", "5"), "/moved"), kLatin1);
    server.serve("/moved", "<html><body>" + countdown("ap", "9") + "</body></html>");
    load(server.url("/move"));
    bool posted_before = true;
    on_before = [&](NavigationRequest&) {
        posted_before = server.find("POST", "/moved") != nullptr;
    };
    follow(kClick, "/moved");
    EXPECT_FALSE(posted_before);
    const Request* post = server.find("POST", "/moved");
    ASSERT_NE(post, nullptr);
    ASSERT_EQ(requests.size(), 2u);  // the program's load, then the post
    const NavigationRequest& request = requests[1];
    EXPECT_EQ(request.url, server.url("/moved"));
    EXPECT_EQ(request.post_data, post->body);
    EXPECT_EQ(request.post_data, "action=move&x=12&t=a%0D%0Ab+%E9&go=Go%21&y=34");
    EXPECT_TRUE(request.headers.contains("application/x-www-form-urlencoded"));
    EXPECT_TRUE(request.main_frame);
    EXPECT_EQ(request.countdown_ap.status, FormFieldRead::Status::Value);
    EXPECT_EQ(request.countdown_ap.value, "5");
    EXPECT_LT(log.indexOf("before " + server.url("/moved")),
              log.indexOf("complete " + server.url("/moved")));
    EXPECT_EQ(browser.LocationURL(), server.url("/moved"));
    EXPECT_EQ(field("ap").value, "9");  // read from the page arrived, not the one left
}

// However a form is sent, the body told is the bytes the server gets (one character a byte),
// and the points are those of the top page, also when the form stands in a frame.
TEST_F(WebBrowserTest, PostsToldAreTheBytesSentWithTheTopPagesPoints) {
    using enum FormFieldRead::Status;
    constexpr char kUtf8[] = "text/html; charset=utf-8";
    struct Case {
        const char* how;  // click, submit or frame
        const char* type;
        QByteArray enctype, value, countdown, body;
        FormFieldRead::Status status;
        QString ap;
    };
    const Case cases[] = {
        {"submit", kLatin1, "", "a.b*c-d_e~f g", countdown("ap", "0"),
         "action=move&v=a.b*c-d_e%7Ef+g", Value, "0"},
        {"click", kLatin1, "text/plain", "caf\xe9 .", "", "action=move\r\nv=caf\xe9 .\r\n",
         MissingForm, ""},
        {"click", kUtf8, "text/plain", "caf\xc3\xa9", countdown("hp", "3"),
         "action=move\r\nv=caf\xc3\xa9\r\n", MissingForm, ""},
        {"frame", kUtf8, "", "caf\xc3\xa9.", countdown("ap", "7"), "action=move&v=caf%C3%A9.",
         Value, "7"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const bool frame = c.how == std::string_view("frame");
        const QByteArray n = QByteArray::number(qulonglong{i});
        const QByteArray form = "<form id=f method=post action=/got" + n + " enctype=\"" +
                                c.enctype + "\"><input type=hidden name=action value=move>" +
                                "<input name=v value=\"" + c.value +
                                "\"><input type=submit id=go></form>";
        server.serve("/p" + n,
                     "<html><body>" + c.countdown + (frame ? "<iframe src=/f" + n + ">" : form),
                     c.type);
        server.serve("/f" + n, "<html><body>" + countdown("ap", "1") + form, c.type);
        server.serve("/got" + n, "<html><body>got</body></html>");
        load(server.url("/p" + n));
        const QString doc = frame ? "document.querySelector('iframe').contentDocument" : "document";
        ASSERT_TRUE(
            wait_until([&] { return run(doc + ".getElementById('go') !== null").toBool(); }));
        const auto from = log.size();
        run(doc + (c.how == std::string_view("submit") ? ".getElementById('f').submit()"
                                                       : ".getElementById('go').click()"));
        ASSERT_TRUE(wait_until([&] { return server.find("POST", "/got" + n) != nullptr; })) << i;
        ASSERT_TRUE(wait_until([&] { return requests.back().url == server.url("/got" + n); }));
        const NavigationRequest& told = requests.back();
        EXPECT_EQ(told.post_data, server.find("POST", "/got" + n)->body) << i;
        EXPECT_EQ(told.post_data, c.body) << i;
        EXPECT_EQ(told.main_frame, !frame) << i;
        EXPECT_EQ(told.countdown_ap.status, c.status) << i;
        EXPECT_EQ(told.countdown_ap.value, c.ap) << i;
        if (!frame) {  // the same field read from the page now shown
            ASSERT_TRUE(waitFor("complete " + server.url("/got" + n), from));
            load(server.url("/p" + n));
            const FormFieldRead read = field("ap");
            EXPECT_EQ(read.status, c.status) << i;
            EXPECT_EQ(read.value, c.ap) << i;
        }
    }
}

TEST_F(WebBrowserTest, ARedirectBelongsToTheNavigationAlreadyTold) {
    server.redirect("/old", "/new");
    server.serve("/new",
                 "<html><body><a id=l href=/old>l</a><form id=f method=post action=/old>"
                 "<input name=v value=1></form></body></html>");
    const std::pair<QString, QByteArray> ways[] = {
        {"", ""},  // the program's own load
        {"document.getElementById('l').click()", ""},
        {"document.getElementById('f').submit()", "v=1"},
    };
    for (const auto& [act, post] : ways) {
        const auto told = requests.size();
        const auto from = log.size();
        if (act.isEmpty())
            browser.Navigate2(server.url("/old"));
        else
            run(act);
        ASSERT_TRUE(waitFor("complete " + server.url("/new"), from)) << act.toStdString();
        ASSERT_EQ(requests.size(), told + 1) << act.toStdString();
        EXPECT_EQ(requests.back().url, server.url("/old"));
        EXPECT_EQ(requests.back().post_data, post);
    }
}

TEST_F(WebBrowserTest, LinksFramesAndHistoryCarryNoPost) {
    server.serve("/links", "<html><body><a id=l href=\"/target\">go</a></body></html>");
    server.serve("/target",
                 "<html><body><iframe src=\"/inner\"></iframe>"
                 "<form id=g action=\"/found\"><input name=q value=\"a b\"></form></body></html>");
    server.serve("/inner", "<html><body>inner</body></html>");
    server.serve("/found", "<html><body>found</body></html>");
    load(server.url("/links"));
    follow("document.getElementById('l').click()", "/target");
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].url, server.url("/target"));
    EXPECT_TRUE(requests[1].post_data.isEmpty());
    EXPECT_TRUE(requests[1].main_frame);
    EXPECT_EQ(requests[2].url, server.url("/inner"));
    EXPECT_FALSE(requests[2].main_frame);

    load(server.url("/found"));
    const auto from = log.size();
    browser.GoBack();
    ASSERT_TRUE(waitFor("complete " + server.url("/target"), from));
    EXPECT_EQ(log[from], "before " + server.url("/target"));
    EXPECT_TRUE(requests[4].post_data.isEmpty());

    // A form sent by GET puts its fields into the address, not into a post.
    follow("document.getElementById('g').submit()", "/found?q=a+b");
    EXPECT_EQ(requests.back().url, server.url("/found?q=a+b"));
    EXPECT_TRUE(requests.back().post_data.isEmpty());
}

TEST_F(WebBrowserTest, CookieReachesTheSiteAndSilentPagesShowNoDialogs) {
    server.serve("/login",
                 "<html><body><script>alert('hi'); document.title = String(confirm('sure?'));"
                 "</script></body></html>");
    server.serve("/welcome", "<html><body>welcome</body></html>");
    load(server.url("/login"));
    EXPECT_EQ(browser.page()->title(), "false");
    browser.setCookie("ip=Vlad#s3cret");
    // Sent in the 8-bit code page, as the old browser did, whatever page is shown.
    load("about:blank");
    browser.setCookieForUrl(QString::fromUtf8("name=Vl\u00e1d \u20ac"), QUrl(server.url("/")));
    load(server.url("/welcome"));
    const Request* welcome = server.find("GET", "/welcome");
    ASSERT_NE(welcome, nullptr);
    for (const QByteArray& cookie : {QByteArray("ip=Vlad#s3cret"), QByteArray("name=Vl\xe1"
                                                                              "d \x80")})
        EXPECT_TRUE(welcome->headers.value("cookie").contains(cookie))
            << welcome->headers.value("cookie").toStdString();
}

TEST_F(WebBrowserTest, AboutPagesAreMadeOfTheirMarkup) {
    load("about:blank");
    EXPECT_EQ(innerHtml(), "");
    // The main window's first page.
    browser.setBodyBgColor(0x3000);
    browser.setBodyTextColor(0x80FF80);
    browser.writeBodyInnerHtml("Loading...");
    EXPECT_EQ(outerHtml(), "<BODY bgcolor=\"#003000\" text=\"#80FF80\">Loading...</BODY>");

    const QString url = "about:<table><tr><td id=c>Hi</td></tr></table>";
    load(url);
    EXPECT_EQ(browser.LocationURL(), url);
    EXPECT_EQ(innerHtml(), "<TABLE><TBODY><TR><TD id=c>Hi</TD></TR></TBODY></TABLE>");
    // Cells take the body's text colour (no quirks mode).
    browser.setBodyTextColor(0x80FF80);
    EXPECT_TRUE(wait_until([&] {
        return run("getComputedStyle(document.getElementById('c')).color").toString() ==
               "rgb(128, 255, 128)";
    }));

    // A relative link in such a page goes to "about:blank" followed by the link, as it did.
    browser.writeBodyInnerHtml("<a id=t href=\"22\">topic</a>");
    on_before = [](NavigationRequest& r) { r.cancel = r.url.startsWith("about:blank"); };
    run("document.getElementById('t').click()");
    ASSERT_TRUE(wait_until([&] { return requests.back().url == "about:blank22"; }));
    EXPECT_EQ(browser.LocationURL(), url);
    EXPECT_EQ(innerHtml(), "<A id=t href=22>topic</A>");
}

TEST_F(WebBrowserTest, ProgramPostsHereAndInSeparateWindows) {
    server.serve("/posted", "<html><body>posted<a id=n target=_blank href=/other>n</a></body>");
    server.serve("/popup", "<html><body>popup</body></html>");
    server.serve("/other", "<html><body>other</body></html>");
    const auto from = log.size();
    browser.Navigate2(server.url("/posted"), QString(), "a=1&b=x+y", QString());
    ASSERT_TRUE(waitFor("complete " + server.url("/posted"), from));
    browser.Navigate2(server.url("/popup"), "_blank", "c=3", QString());
    ASSERT_TRUE(wait_until([&] { return server.find("POST", "/popup") != nullptr; }));
    for (const auto& [path, body] : {std::pair{"/posted", "a=1&b=x+y"}, {"/popup", "c=3"}}) {
        EXPECT_EQ(server.find("POST", path)->body, body);
        EXPECT_EQ(server.find("POST", path)->headers.value("content-type"),
                  "application/x-www-form-urlencoded");
    }
    ASSERT_EQ(requests.size(), 1u);  // the window's post never followed here
    EXPECT_EQ(requests[0].post_data, "a=1&b=x+y");
    ASSERT_EQ(browser.openWindows().size(), 1);
    EXPECT_TRUE(browser.openWindows()[0]->isWindow());
    // A page's own new window.
    run("document.getElementById('n').click()");
    ASSERT_TRUE(wait_until([&] { return server.find("GET", "/other") != nullptr; }));
    EXPECT_EQ(browser.openWindows().size(), 2);
    EXPECT_EQ(browser.LocationURL(), server.url("/posted"));

    // A closed window leaves the list; the windows outlive the browser that opened them.
    QPointer<QWebEngineView> first = browser.openWindows()[0];
    QPointer<QWebEngineView> second = browser.openWindows()[1];
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(browser.openWindows(), QList<QWebEngineView*>{second});
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
    EXPECT_TRUE(first.isNull() && second.isNull());
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
    EXPECT_TRUE(log.filter("complete ").isEmpty());
}

}  // namespace
}  // namespace zeko
