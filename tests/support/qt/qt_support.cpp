#include "support/qt/qt_support.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEnginePage>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>

namespace zeko::testing {

namespace {

ExpectTrapped* expected = nullptr;
QtMessageHandler next_handler = nullptr;

void on_message(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (context.category == nullptr || std::strcmp(context.category, "zeko.trapped") != 0) {
        if (next_handler != nullptr) next_handler(type, context, text);
    } else if (expected != nullptr) {
        expected->note();
    } else {
        ADD_FAILURE() << "an error was trapped: " << text.toStdString();
    }
}

}  // namespace

ExpectTrapped::ExpectTrapped() : outer_(std::exchange(expected, this)) {}

ExpectTrapped::~ExpectTrapped() {
    expected = outer_;
}

void fail_on_trapped_errors() {
    QLoggingCategory::setFilterRules(QStringLiteral("zeko.trapped.warning=true"));
    next_handler = qInstallMessageHandler(on_message);
}

bool wait_until(const std::function<bool()>& done, int limit_ms) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer::singleShot(limit_ms, &loop, &QEventLoop::quit);
    poll.start(5);
    if (!done()) loop.exec();
    return done();
}

QVariant run_script(QWebEnginePage* page, const QString& script, quint32 world) {
    // Shared, since the answer may come after a timed-out wait has returned.
    auto got = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(script, world, [got](const QVariant& v) { *got = v; });
    wait_until([&] { return got->has_value(); });
    return got->value_or(QVariant());
}

void settle(int ms) {
    wait_until([] { return false; }, ms);
}

void pump() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void leave_and_come_back(QWidget* window) {
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(window);
}

void fire(QTimer* timer) {
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
}

}  // namespace zeko::testing
