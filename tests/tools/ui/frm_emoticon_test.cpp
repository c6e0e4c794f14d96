#include "tools/ui/frm_emoticon.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "platform/qt_web_browser.h"
#include "support/qt/fake_browser.h"
#include "support/qt/qt_support.h"
#include "support/qt/sandbox.h"
#include "tool_windows.h"

namespace zeko::testing {
namespace {

const std::string kBase = "http://img.test/i/mesg/emoticons7/";

class FrmEmoticonTest : public ::testing::Test {
  protected:
    void open() {
        f.show();
        pump();
        list().completeNavigation();
        test().completeNavigation();
    }
    FakeBrowser& list() { return *browsers.at(0); }
    FakeBrowser& test() { return *browsers.at(1); }
    QLineEdit* msg() { return child<QLineEdit>(f, "txtMSG"); }
    QPushButton* button(int i) {
        return child<QPushButton>(f, QStringLiteral("cmdCOMMAND(%1)").arg(i));
    }
    void type(const QString& text) {
        msg()->setFocus();
        QTest::keyClicks(msg(), text);
        QTest::keyClick(msg(), Qt::Key_Return);
    }
    QString page() { return test().body_html.value_or(QString()); }
    static QString header() { return QString::fromStdString(tools::EmoticonText::MSG_HEADER()); }
    static QString img(int n) {
        return QStringLiteral("<img src=\"%1%2.gif\">").arg(QString::fromStdString(kBase)).arg(n);
    }

    RecordingWindows windows;
    std::vector<QPointer<FakeBrowser>> browsers;
    ui::FrmEmoticon f{windows,
                      [this](QWidget*) {
                          auto b = std::make_unique<FakeBrowser>();
                          browsers.emplace_back(b.get());
                          return b;
                      },
                      kBase};
};

TEST_F(FrmEmoticonTest, OpensOnTheChartAndAnEmptyTestPage) {
    open();
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Z.E.K.O.\xC2\xB2: Emoticon Tutorial"));
    EXPECT_TRUE(f.isModal());
    EXPECT_EQ(button(0)->text(), QStringLiteral("&Sent Test IM"));
    EXPECT_TRUE(child<QLabel>(f, "Label1")->text().startsWith("Above is an emoticon chart."));
    const QString chart = QString::fromStdString(tools::EmoticonText(kBase).BUILD_CHART());
    EXPECT_EQ(list().calls, (QStringList{"Navigate2 about:blank", "writeBodyInnerHtml " + chart,
                                         "setBodyBgColor 404040", "setBodyTextColor 80ff80"}));
    EXPECT_EQ(test().calls, QStringList{"Navigate2 " + ui::FrmEmoticon::kTestPage});
    list().completeNavigation();  // later documents leave the chart alone
    EXPECT_EQ(list().calls.size(), 4);
    click(button(2));
    EXPECT_EQ(windows.help, (std::vector<std::pair<int16_t, QWidget*>>{{36, &f}}));
}

TEST_F(FrmEmoticonTest, MessagesStackNewestFirstWithTypedMarkupTakingEffect) {
    open();
    type("1");
    type(":))");
    click(button(0));  // empty: nothing sent
    type("<b>hi</b> >:D<");
    EXPECT_EQ(page(), "<a name=\"2\">" + header() + "<b>hi</b> " + img(6) +
                          "</a><br><a name=\"1\">" + header() + img(21) + "</a><br><a name=\"0\">" +
                          header() + "1</a><br>");
    EXPECT_EQ(f.message_counter(), 3);
    EXPECT_TRUE(msg()->text().isEmpty());
    msg()->setText("left over");
    click(button(1));
    EXPECT_EQ(page(), QString());
    EXPECT_TRUE(msg()->text().isEmpty());
    click(button(3));
    EXPECT_FALSE(f.chart_built());
    list().calls.clear();
    open();  // the chart again, the test page empty, the counter going on
    EXPECT_EQ(list().calls.size(), 4);
    type("x(");
    EXPECT_EQ(page(), "<a name=\"3\">" + header() + img(14) + "</a><br>");
}

// The real engine against the sandbox's image host: every picture of the chart is fetched.
TEST(FrmEmoticonBrowser, ChartPicturesComeFromTheImageHost) {
    SandboxServer server;
    ASSERT_GT(server.port(), 0);
    const std::string base = "http://" + server.host() + "/i/mesg/emoticons7/";
    RecordingWindows windows;
    std::vector<QtWebBrowser*> made;
    ui::FrmEmoticon f(
        windows,
        [&made](QWidget*) {
            auto b = std::make_unique<QtWebBrowser>();
            made.push_back(b.get());
            return b;
        },
        base);
    f.show();
    const auto hits = [&](const char* n) {
        return std::stoi(
            server.get("/sandbox/hits?path=/i/mesg/emoticons7/" + std::string(n)).body);
    };
    EXPECT_TRUE(wait_until([&] { return hits("1.gif") > 0 && hits("108.gif") > 0; }));
    auto* msg = child<QLineEdit>(f, "txtMSG");
    msg->setText("<b>hi</b> :)");
    click(child<QPushButton>(f, "cmdCOMMAND(0)"));
    // Typed markup takes effect in the page, as in the messenger; the code becomes a picture.
    std::optional<QString> body;
    bool pending = false;
    EXPECT_TRUE(wait_until([&] {
        if (body && body->contains("IMG")) return true;
        if (!pending) {
            pending = true;
            made.at(1)->readBodyInnerHtml([&](std::optional<QString> html) {
                body = html;
                pending = false;
            });
        }
        return false;
    }));
    EXPECT_TRUE(body && body->contains("<B>hi</B>")) << body.value_or("(none)").toStdString();
    f.close();
}

}  // namespace
}  // namespace zeko::testing
