// The Qt message and input boxes, the screen size and the event pump.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/events.h"
#include "platform/qt_prompts.h"
#include "platform/qt_screen.h"

namespace zeko {
namespace {

// Runs `act` on the next modal dialog once it is up.
void onNextModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer();
    QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start(5);
}

TEST(QtPromptsTest, MessageBoxShowsWhatItIsGivenAndMapsTheAnswer) {
    QtPrompts prompts;
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        QMessageBox::StandardButton click;
        MsgResult answer;
    };
    const Case cases[] = {
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::No, MsgResult::No},
        {MsgButtons::AbortRetryIgnore, MsgIcon::Critical, QMessageBox::Retry, MsgResult::Retry},
        // Escape answers Cancel where there is one, otherwise No.
        {MsgButtons::YesNoCancel, MsgIcon::Exclamation, QMessageBox::NoButton, MsgResult::Cancel},
        {MsgButtons::YesNo, MsgIcon::None, QMessageBox::NoButton, MsgResult::No}};
    QStringList shown;
    for (const Case& c : cases) {
        onNextModal([&shown, c](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            shown.append(QStringLiteral("%1|%2|%3|%4|%5")
                             .arg(box->windowTitle(), box->text())
                             .arg(box->textFormat())
                             .arg(box->icon())
                             .arg(box->standardButtons().toInt(), 0, 16));
            if (c.click == QMessageBox::NoButton) return QTest::keyClick(box, Qt::Key_Escape);
            const bool yes_default = box->standardButton(box->defaultButton()) == QMessageBox::Yes;
            EXPECT_TRUE(yes_default || c.click != QMessageBox::No);
            box->button(c.click)->click();
        });
        EXPECT_EQ(prompts.message_box("Quit <now>?", c.buttons, c.icon, "Z.E.K.O.\xC2\xB2"),
                  c.answer);
    }
    const QString head = QString::fromUtf8("Z.E.K.O.\xC2\xB2|Quit <now>?|%1|").arg(Qt::PlainText);
    EXPECT_EQ(shown, (QStringList{head + "4|14000", head + "3|1c0000", head + "2|414000",
                                  head + "0|14000"}));
}

TEST(QtPromptsTest, InputBoxGivesTheTextOrNothingWhenCancelled) {
    QWidget owner;
    QtPrompts prompts(&owner);
    QStringList shown;
    onNextModal([&](QWidget* widget) {
        auto* dialog = qobject_cast<QInputDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        shown << dialog->labelText() << dialog->windowTitle() << dialog->textValue();
        dialog->setTextValue(QString::fromUtf8("Vlad \xC3\xA9"));
        dialog->accept();
    });
    EXPECT_EQ(prompts.input_box("Name?", "New", "Bob"), "Vlad \xC3\xA9");
    EXPECT_EQ(shown, (QStringList{"Name?", "New", "Bob"}));
    onNextModal([](QWidget* widget) { static_cast<QDialog*>(widget)->reject(); });
    EXPECT_EQ(prompts.input_box("Name?", "New", "Bob"), "");
}

TEST(QtScreenTest, PrimaryScreenInTwipsAndEventsRun) {
    QtScreen screen;
    const QSize size = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(QSize(screen.width_twips(), screen.height_twips()), size * 15);
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    do_events();
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace zeko
