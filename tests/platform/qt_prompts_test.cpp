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
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool yes_is_default = false;
    onNextModal([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        icon = box->icon();
        buttons = box->standardButtons();
        yes_is_default =
            static_cast<QAbstractButton*>(box->defaultButton()) == box->button(QMessageBox::Yes);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(prompts.message_box("Quit <now>?", MsgButtons::YesNo, MsgIcon::Question, "Z.E.K.O.²"),
              MsgResult::No);
    EXPECT_EQ(title, QString::fromUtf8("Z.E.K.O.²"));
    EXPECT_EQ(text, "Quit <now>?");
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(yes_is_default);

    // Escape answers Cancel where there is one, otherwise No.
    onNextModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(prompts.message_box("t", MsgButtons::YesNoCancel, MsgIcon::Exclamation, "x"),
              MsgResult::Cancel);
    onNextModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(prompts.message_box("t", MsgButtons::YesNo, MsgIcon::None, "x"), MsgResult::No);

    onNextModal([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Retry)->click();
    });
    EXPECT_EQ(prompts.message_box("t", MsgButtons::AbortRetryIgnore, MsgIcon::Critical, "x"),
              MsgResult::Retry);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
}

TEST(QtPromptsTest, InputBoxGivesTheTextOrNothingWhenCancelled) {
    QWidget owner;
    QtPrompts prompts(&owner);
    QString label, title, shown_default;
    onNextModal([&](QWidget* widget) {
        auto* dialog = qobject_cast<QInputDialog*>(widget);
        ASSERT_NE(dialog, nullptr);
        label = dialog->labelText();
        title = dialog->windowTitle();
        shown_default = dialog->textValue();
        dialog->setTextValue(QString::fromUtf8("Vlad é"));
        dialog->accept();
    });
    EXPECT_EQ(prompts.input_box("Name?", "New", "Bob"), "Vlad é");
    EXPECT_EQ(label, "Name?");
    EXPECT_EQ(title, "New");
    EXPECT_EQ(shown_default, "Bob");

    onNextModal([](QWidget* widget) { static_cast<QDialog*>(widget)->reject(); });
    EXPECT_EQ(prompts.input_box("Name?", "New", "Bob"), "");
}

TEST(QtScreenTest, PrimaryScreenInTwipsAndEventsRun) {
    QtScreen screen;
    const QSize size = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(screen.width_twips(), size.width() * 15);
    EXPECT_EQ(screen.height_twips(), size.height() * 15);

    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    do_events();
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace zeko
