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
#include <optional>
#include <vector>

#include "platform/qt_web_browser.h"
#include "support/qt/qt_support.h"

namespace zeko {
namespace {

using testing::run_script;
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
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { read(socket); });
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
    // Waits, leaving the bytes in the socket, until the whole request is there.
    void read(QTcpSocket* socket) {
        const QByteArray buffer = socket->peek(socket->bytesAvailable());
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        Request r;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        for (const QByteArray& line : lines.mid(1))
            if (const qsizetype colon = line.indexOf(':'); colon > 0)
                r.headers[line.left(colon).trimmed().toLower()] = line.mid(colon + 1).trimmed();
        const qsizetype length = r.headers.value("content-length", "0").toLongLong();
        if (buffer.size() < end + 4 + length) return;
        socket->readAll();
        const QList<QByteArray> first = lines.front().trimmed().split(' ');
        r.method = first.value(0);
        r.path = first.value(1);
        r.body = buffer.mid(end + 4, length);
        requests.push_back(r);

        const auto it = pages_.find(r.path.split('?').front());
        const auto [type, body] = it != pages_.end() ? it->second : Page{"404", ""};
        const QByteArray head = type == "404"    ? "404 Not Found\r\nContent-Type: text/plain"
                                : type.isEmpty() ? "303 See Other\r\nLocation: " + body
                                                 : "200 OK\r\nContent-Type: " + type;
        const QByteArray content = type == "404" || type.isEmpty() ? QByteArray() : body;
        socket->write("HTTP/1.1 " + head + "\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(content.size()) + "\r\n\r\n" + content);
        socket->disconnectFromHost();
    }

    using Page = std::pair<QByteArray, QByteArray>;  // content type ("": redirect), body
    QTcpServer server_;
    std::map<QByteArray, Page> pages_;
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
        QObject::connect(&browser, &WebBrowser::DocumentComplete,
                         [this](const QString& url) { log.push_back("complete " + url); });
    }

    // Loads a page and waits for its DocumentComplete.
    void load(const QString& url) {
        const auto from = log.size();
        browser.Navigate2(url);
        ASSERT_TRUE(waitFor("complete " + url, from)) << url.toStdString();
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
    QVariant run(const QString& script) { return run_script(browser.page(), script); }
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
         "<!-- map --><TABLE class=nb id=nb><TBODY><TR>\r\n<TD>West &amp; North</TD>"
         "<TD class=intersect><SPAN class=intersect>Aardvark and 1st</SPAN></TD>"
         "<TD style=\"color: red\">x&nbsp;y</TD></TR></TBODY></TABLE>"
         "<P title=\"a &quot;b&quot;\" data-x=\"\" lang=en-GB>1 &lt; 2 &gt; 0<BR>"
         "<IMG src=\"/i.gif\" alt=\"\"></P><!-- header end -->"},
        // A row opens with a line break before its first cell, however the page spaced it.
        {"<table><tr>\n  <td>a</td> <td>b</td>\n</tr><tr class=x><td>c</td></tr></table>",
         "<TABLE><TBODY><TR>\r\n<TD>a</TD> <TD>b</TD>\n</TR><TR class=x>\r\n<TD>c</TD></TR>"
         "</TBODY></TABLE>"},
        // Each place a player's text may stand: attributes, a comment, raw text.
        {"<span title=\"" + escaped + "\">who</span><img alt=\"" + escaped + "\">",
         "<SPAN title=\"" + escaped + "\">who</SPAN><IMG alt=\"" + escaped + "\">"},
        {"<!-- said: " + fake + " -->", "<!-- said: " + escaped + " -->"},
        {"<script>var said = \"" + js + "\"; var a = 1 & 2;</script><style>p>b{}</style>",
         "<SCRIPT>var said = \"" + js_read + "\"; var a = 1 & 2;</SCRIPT><STYLE>p&gt;b{}</STYLE>"},
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

QByteArray countdown(const char* field, const char* value) {
    return QByteArray("<form name=countdn><input name=") + field + " value=" + value + "></form>";
}

// However a form is sent, the body told is the bytes the server gets (one character a byte),
// told before the post leaves, and the points are those of the top page, also when the form
// stands in a frame.
TEST_F(WebBrowserTest, PostsToldAreTheBytesSentWithTheTopPagesPoints) {
    using enum FormFieldRead::Status;
    constexpr char kLatin1[] = "text/html; charset=windows-1252",
                   kUtf8[] = "text/html; charset=utf-8";
    const QByteArray move = "<input type=hidden name=action value=move>";
    const auto v = [&](const char* value) {
        return move + "<input name=v value=\"" + value + "\"><input type=submit id=go>";
    };
    struct Case {
        const char* how;  // click, submit or frame
        const char* type;
        QByteArray attrs, fields, countdown, body;
        FormFieldRead::Status status;
        QString ap;
    };
    const Case cases[] = {
        // The game's move form: the submit button between the fields, a page in Windows-1252.
        {"click", kLatin1, "method=post",
         move +
             "<input type=hidden name=x value=12><textarea name=t>a\nb \xe9</textarea>"
             "<input type=submit id=go name=go value=\"Go!\"><input type=hidden name=y value=34>",
         countdown("ap", "5"), "action=move&x=12&t=a%0D%0Ab+%E9&go=Go%21&y=34", Value, "5"},
        {"submit", kLatin1, "method=post", v("a.b*c-d_e~f g"), countdown("ap", "0"),
         "action=move&v=a.b*c-d_e%7Ef+g", Value, "0"},
        {"click", kLatin1, "method=post enctype=text/plain", v("caf\xe9 ."), "",
         "action=move\r\nv=caf\xe9 .\r\n", MissingForm, ""},
        {"click", kUtf8, "method=post enctype=\"text/plain\"", v("caf\xc3\xa9"),
         countdown("hp", "3"), "action=move\r\nv=caf\xc3\xa9\r\n", MissingForm, ""},
        {"frame", kUtf8, "method=post", v("caf\xc3\xa9."), countdown("ap", "7"),
         "action=move&v=caf%C3%A9.", Value, "7"},
        // A form sent by GET puts its fields into the address, not into a post.
        {"submit", kUtf8, "method=get", v("a b"), countdown("ap", "2"), "action=move&v=a+b", Value,
         "2"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        const bool frame = c.how == std::string_view("frame");
        const bool get = c.attrs == "method=get";
        const QByteArray n = QByteArray::number(qulonglong{i});
        const QByteArray form = "<form id=f " + c.attrs + " action=/got" + n + ">" + c.fields;
        const QByteArray got = "/got" + n + (get ? "?" + c.body : "");
        server.serve("/p" + n,
                     "<html><body>" + c.countdown + (frame ? "<iframe src=/f" + n + ">" : form),
                     c.type);
        server.serve("/f" + n, "<html><body>" + countdown("ap", "1") + form, c.type);
        server.serve("/got" + n, "<html><body>" + countdown("ap", "9"));
        load(server.url("/p" + n));
        const QString doc = frame ? "document.querySelector('iframe').contentDocument" : "document";
        ASSERT_TRUE(
            wait_until([&] { return run(doc + ".getElementById('go') !== null").toBool(); }));
        bool sent_before = true;
        on_before = [&](NavigationRequest& r) {
            if (r.url == server.url(got)) sent_before = server.find(get ? "GET" : "POST", got);
        };
        const auto from = log.size();
        run(doc + (c.how == std::string_view("submit") ? ".getElementById('f').submit()"
                                                       : ".getElementById('go').click()"));
        ASSERT_TRUE(wait_until([&] { return server.find(get ? "GET" : "POST", got) != nullptr; }));
        ASSERT_TRUE(wait_until([&] { return requests.back().url == server.url(got); }));
        on_before = nullptr;
        const NavigationRequest& told = requests.back();
        const Request* sent = server.find(get ? "GET" : "POST", got);
        EXPECT_FALSE(sent_before);
        EXPECT_EQ(told.post_data, sent->body);
        EXPECT_EQ(told.post_data, get ? "" : c.body);
        EXPECT_EQ(told.headers,
                  get ? "" : "Content-Type: " + sent->headers.value("content-type") + "\r\n");
        EXPECT_EQ(told.main_frame, !frame);
        EXPECT_EQ(told.countdown_ap.status, c.status);
        EXPECT_EQ(told.countdown_ap.value, c.ap);
        if (frame) continue;
        ASSERT_TRUE(waitFor("complete " + server.url(got), from));
        EXPECT_EQ(browser.LocationURL(), server.url(got));
        EXPECT_EQ(field("ap").value, "9");  // read from the page arrived, not the one left
        // The same field read from the page left.
        load(server.url("/p" + n));
        const FormFieldRead read = field("ap");
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.value, c.ap);
    }
}

// A redirect is no new navigation, however the first one began; going back is one.
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
        SCOPED_TRACE(act.toStdString());
        const auto told = requests.size();
        const auto from = log.size();
        if (act.isEmpty())
            browser.Navigate2(server.url("/old"));
        else
            run(act);
        ASSERT_TRUE(waitFor("complete " + server.url("/new"), from));
        ASSERT_EQ(requests.size(), told + 1);
        EXPECT_EQ(requests.back().url, server.url("/old"));
        EXPECT_EQ(requests.back().post_data, post);
        EXPECT_TRUE(requests.back().main_frame);
    }
    // Going back is told too, without a post.
    load(server.url("/new?again"));
    const auto from = log.size();
    browser.GoBack();
    ASSERT_TRUE(waitFor("complete " + server.url("/new"), from));
    EXPECT_EQ(log[from], "before " + server.url("/new"));
    EXPECT_TRUE(requests.back().post_data.isEmpty());
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
    EXPECT_EQ(innerHtml(), "<TABLE><TBODY><TR>\r\n<TD id=c>Hi</TD></TR></TBODY></TABLE>");
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

// The program's posts, here and in a new window, carry the cookies it set, in the 8-bit code
// page as the old browser sent them, whatever page was shown when it set them.
TEST_F(WebBrowserTest, ProgramPostsHereAndInSeparateWindowsWithItsCookies) {
    server.serve("/posted",
                 "<html><body><script>alert('hi'); document.title = String(confirm('sure?'));"
                 "</script><a id=n target=_blank href=/other>n</a></body>");
    server.serve("/popup", "<html><body>popup</body></html>");
    server.serve("/other", "<html><body>other</body></html>");
    load("about:blank");
    browser.setCookieForUrl(QString::fromUtf8("name=Vl\u00e1d \u20ac"), QUrl(server.url("/")));
    const auto from = log.size();
    browser.Navigate2(server.url("/posted"), QString(), "a=1&b=x+y", QString());
    ASSERT_TRUE(waitFor("complete " + server.url("/posted"), from));
    EXPECT_EQ(browser.page()->title(), "false");  // silent: no dialogs, confirm says no
    browser.setCookie("ip=Vlad#s3cret");
    browser.Navigate2(server.url("/popup"), "_blank", "c=3", QString());
    ASSERT_TRUE(wait_until([&] { return server.find("POST", "/popup") != nullptr; }));
    const QByteArray name =
        "name=Vl\xe1"
        "d \x80";
    for (const auto& [path, body, cookie] :
         {std::tuple{"/posted", "a=1&b=x+y", name}, {"/popup", "c=3", name + "; ip=Vlad#s3cret"}}) {
        const Request* post = server.find("POST", path);
        EXPECT_EQ(post->body, body);
        EXPECT_EQ(post->headers.value("content-type"), "application/x-www-form-urlencoded");
        EXPECT_EQ(post->headers.value("cookie"), cookie);
    }
    ASSERT_EQ(requests.size(), 2u);  // the window's post never followed here
    EXPECT_EQ(requests[1].post_data, "a=1&b=x+y");
    // A page's own new window.
    run("document.getElementById('n').click()");
    ASSERT_TRUE(wait_until([&] { return server.find("GET", "/other") != nullptr; }));
    ASSERT_EQ(browser.openWindows().size(), 2);
    EXPECT_TRUE(browser.openWindows()[0]->isWindow());
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
