// The read of the first table rows against the whole body read, on documents made of markup.
#include <gtest/gtest.h>

#include <optional>

#include "platform/qt_web_browser.h"
#include "support/qt/qt_support.h"

namespace zeko {
namespace {

using testing::wait_until;

std::optional<QString> read(
    const std::function<void(std::function<void(std::optional<QString>)>)>& start) {
    bool answered = false;
    std::optional<QString> got;
    start([&](std::optional<QString> text) {
        got = std::move(text);
        answered = true;
    });
    EXPECT_TRUE(wait_until([&] { return answered; }));
    return got;
}

QString row(int n, const char* attributes = "") {
    return QStringLiteral("<tr%1><td>a%2</td><td><span class=intersect>b%2</span></td></tr>")
        .arg(QString::fromLatin1(attributes))
        .arg(n);
}

TEST(WebBrowserRows, ReadsFromTheFirstBareRowToTheEndOfWhatHoldsTheThirdRowAfterIt) {
    const QString chat = QStringLiteral(
        "<div><p title=\"&lt;tr&gt;\">said &lt;tr&gt;&lt;/tr&gt;</p><!-- <tr> --></div>");
    const QString three = row(1) + row(2) + row(3);
    struct Case {
        const char* what;
        QString body;
        // The expected text in the whole read: from the first `from` (the start when empty) to
        // the end of the first `through` after the third row's end (the end when empty).
        QString from;
        QString through;
        bool empty = false;
    };
    const Case cases[] = {
        {"no table", chat + QStringLiteral("<p>away</p>"), {}, {}, true},
        {"table first",
         QStringLiteral("<table>") + three + row(4) + QStringLiteral("</table>") + chat,
         QStringLiteral("<TR>"), QStringLiteral("</TBODY>")},
        {"chat and a classed table first",
         chat + QStringLiteral("<table>") + row(0, " class=x") + QStringLiteral("</table><table>") +
             three + QStringLiteral("</table>") + chat,
         QStringLiteral("<TR>"), QStringLiteral("</TBODY>")},
        {"only classed rows",
         QStringLiteral("<table>") + row(1, " class=x") + row(2, " id=y") + row(3, " class=x") +
             QStringLiteral("</table>") + chat,
         {},
         {}},
        {"two rows",
         QStringLiteral("<table>") + row(1) + row(2) + QStringLiteral("</table>") + chat,
         QStringLiteral("<TR>"),
         {}},
        {"a table inside the first row",
         QStringLiteral("<table><tr><td><table>") + row(7) + row(8) +
             QStringLiteral("</table></td></tr>") + row(2) + QStringLiteral("</table>") + chat,
         QStringLiteral("<TR>"), QStringLiteral("</TBODY>")},
        {"rows in a classed row",
         QStringLiteral("<table><tr class=x><td><table>") + three +
             QStringLiteral("</table></td></tr></table>") + chat,
         QStringLiteral("<TR>"), QStringLiteral("</TBODY>")},
        {"the third row closing outside the first rows' table",
         chat + QStringLiteral("<table><tr class=x><td><table>") + row(1) + row(2) +
             QStringLiteral("</table>tail</td></tr>") + row(3) + QStringLiteral("</table>") + chat,
         QStringLiteral("<TR>"), QStringLiteral("</TBODY>")},
        {"rows in a template",
         QStringLiteral("<template><table>") + three + QStringLiteral("</table></template>") + chat,
         QStringLiteral("<TR>"), QStringLiteral("</TBODY>")},
    };
    QtWebBrowser browser;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        browser.Navigate2(QStringLiteral("about:<html><body>") + c.body +
                          QStringLiteral("</body></html>"));
        ASSERT_TRUE(wait_until([&] { return browser.ReadyState() == 4; }));
        const auto whole = read([&](auto done) { browser.readBodyInnerHtml(done); });
        const auto part = read([&](auto done) { browser.readBodyRowsHtml(3, done); });
        ASSERT_TRUE(whole && part);
        if (c.empty) {
            EXPECT_EQ(*part, QString());
            continue;
        }
        const qsizetype start = c.from.isEmpty() ? 0 : whole->indexOf(c.from);
        qsizetype end = whole->size();
        if (!c.through.isEmpty()) {
            // The third row's end after the start, then the marker's end.
            qsizetype at = start;
            for (int n = 0; n < 3; ++n)
                at = whole->indexOf(QStringLiteral("</TR>"), at) + 5;
            end = whole->indexOf(c.through, at) + c.through.size();
        }
        EXPECT_EQ(*part, whole->mid(start, end - start));
    }

    // No document body: no text, as the whole read.
    browser.Navigate2(QStringLiteral("about:blank"));
    ASSERT_TRUE(wait_until([&] { return browser.ReadyState() == 4; }));
    EXPECT_EQ(read([&](auto done) { browser.readBodyRowsHtml(3, done); }).has_value(),
              read([&](auto done) { browser.readBodyInnerHtml(done); }).has_value());
}

}  // namespace
}  // namespace zeko
