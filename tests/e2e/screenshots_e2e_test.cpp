// The dumps and the snap shot of a real game page served by the sandbox server.
#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QWidget>

#include <optional>

#include "common/codepage.h"
#include "main/program_state.h"
#include "platform/qt_web_browser.h"
#include "screenshots/page_dump.h"
#include "screenshots/shot_names.h"
#include "screenshots/ui/snapshots.h"
#include "support/fakes.h"
#include "support/qt/qt_support.h"
#include "support/qt/sandbox.h"

namespace zeko::testing {
namespace {

TEST(ScreenshotsE2e, DumpsHoldThePagesBodyAndTheSnapShotShowsThePage) {
    SandboxServer sandbox;
    ASSERT_NE(sandbox.port(), 0);
    TestWorld world;
    ProgramState state(world.folder.path(), world.services());
    state.settings.SETTINGS.PIC = default_pic_configs();
    state.game_url_override = sandbox.game_url();

    QWidget main;
    main.resize(700, 500);
    QtWebBrowser browser;
    browser.setSilent(true);
    browser.widget()->setParent(&main);
    browser.widget()->setGeometry(150, 0, 550, 500);
    auto* list = new QListWidget(&main);
    list->setGeometry(0, 0, 150, 100);
    list->addItem(QStringLiteral("Handle"));
    main.show();
    bool complete = false;
    QObject::connect(&browser, &WebBrowser::DocumentComplete, [&] { complete = true; });
    browser.Navigate2(QString::fromStdString(sandbox.game_url() + "?action=welcome"));
    ASSERT_TRUE(wait_until([&] { return complete; }));
    std::optional<std::optional<QString>> body;
    browser.readBodyOuterHtml([&](std::optional<QString> html) { body = html; });
    ASSERT_TRUE(wait_until([&] { return body.has_value(); }));
    ASSERT_TRUE(body->has_value());
    const std::string markup = body->value().toStdString();
    EXPECT_EQ(markup.rfind("<BODY", 0), 0u);

    ui::Snapshots shots(state, &main, [&](bool hidden) { ui::set_list_text_hidden(list, hidden); });
    const ShotResult plain = shots.SNAPSHOT_HTML(markup);
    EXPECT_EQ(read_bytes(plain.path),
              to_cp1252(HTML_HEAD_LINK("http://" + sandbox.host() + "/blood.css") + markup +
                        "\r\n</HTML>"));
    const ShotResult styled = shots.SNAPSHOT_HTML_CSS(markup);
    EXPECT_EQ(read_bytes(styled.path),
              to_cp1252(HTML_HEAD() + HTML_STYLE() + markup + "\r\n</HTML>"));

    settle(500);
    const ShotResult picture = shots.SNAPSHOT_BMP();
    const QImage saved(QString::fromStdString(picture.path.string()), "BMP");
    ASSERT_EQ(saved.size(), main.size());
    // The page was drawn into the picture: its part is not one plain colour.
    QImage plain_page(550, 500, saved.format());
    plain_page.fill(saved.pixel(151, 1));
    EXPECT_NE(saved.copy(150, 0, 550, 500), plain_page);
    EXPECT_TRUE(world.prompts.shown.empty());
}

}  // namespace
}  // namespace zeko::testing
