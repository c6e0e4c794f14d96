#pragma once

// What the window and browser tests share: readable text failures and event-loop helpers.

#include <QString>
#include <QVariant>
#include <QWebEngineScript>

#include <functional>
#include <ostream>

class QTimer;
class QWebEnginePage;
class QWidget;

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace zeko::testing {

// Runs the event loop until `done` holds. The limit only guards against a hang.
bool wait_until(const std::function<bool()>& done, int limit_ms = 30000);
// Runs a script in a page and waits for its answer: an invalid value when none came.
QVariant run_script(QWebEnginePage* page, const QString& script,
                    quint32 world = QWebEngineScript::MainWorld);
// Lets the event loop run for a while (the engine paints a loaded page a little later).
void settle(int ms);
// Lets pending window events run.
void pump();
// Makes every error a window traps fail the running test (the test programs' main does this).
void fail_on_trapped_errors();

// While one exists, the errors the windows trap are counted instead of failing the test.
class ExpectTrapped {
  public:
    ExpectTrapped();
    ~ExpectTrapped();
    int count() const { return count_; }
    void note() { ++count_; }

  private:
    ExpectTrapped* outer_;
    int count_ = 0;
};

// The whole program loses the focus to another application and gets it back, `window`
// active again.
void leave_and_come_back(QWidget* window);
// Runs what a timer's firing runs, now.
void fire(QTimer* timer);

}  // namespace zeko::testing
