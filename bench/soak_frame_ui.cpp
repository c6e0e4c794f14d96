// From a finished page to the minimap redrawn, in the real program ("Standard" tracking) with
// the real browser, against a sandbox server whose pages walk on their own. The program's
// browsers are wrapped in one that times what the program asks of them: the wait of the page
// read timer after the page completed (150 ms by design), the read of the body, the program's
// handling of the answer (the page read and the minimap redraw) and the paint that follows.
//
//     soak_frame_ui FOLDER [PAGES [rows]]
//
// With "rows" the program's page reads go to the read of the first three rows instead; with
// PAGES 0 the program runs on until it is ended, for measuring it from outside.
// FOLDER holds MAP.DAT and SETTINGS.DAT (the prediction off, so that every page is read); the
// sandbox server must be running on the port the program was built for, its look walking.

#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/services.h"
#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/program_ui.h"
#include "platform/qt_screen.h"
#include "platform/qt_web_browser.h"

namespace {

using namespace zeko;

struct Frame {
    double wait_ms = 0;    // page complete to the read asked for
    double read_ms = 0;    // the read asked for to its answer
    double handle_ms = 0;  // the program's handling of the answer: page read and redraw
    double paint_ms = 0;   // the events that follow, the paint included
    double partial_ms = -1;
    size_t body_chars = 0;
};

class Stopwatch {
  public:
    Stopwatch() { timer_.start(); }
    double now_ms() const { return static_cast<double>(timer_.nsecsElapsed()) / 1e6; }

  private:
    QElapsedTimer timer_;
};

// A QtWebBrowser with a stopwatch on what the program asks of it.
class TimedBrowser final : public WebBrowser {
  public:
    TimedBrowser(const Stopwatch& clock, std::vector<Frame>& frames, bool rows_only)
        : clock_(clock),
          frames_(frames),
          inner_(std::make_unique<QtWebBrowser>()),
          rows_only_(rows_only) {
        connect(inner_.get(), &WebBrowser::DocumentComplete, this,
                [this] { completed_ms_ = clock_.now_ms(); });
        connect(inner_.get(), &WebBrowser::BeforeNavigate2, this, &WebBrowser::BeforeNavigate2);
        connect(inner_.get(), &WebBrowser::NavigateComplete2, this, &WebBrowser::NavigateComplete2);
        connect(inner_.get(), &WebBrowser::DocumentComplete, this, &WebBrowser::DocumentComplete);
    }

    QWidget* widget() override { return inner_->widget(); }
    void Navigate2(const QString& url) override { inner_->Navigate2(url); }
    void Navigate2(const QString& url, const QString& target, const QByteArray& post_data,
                   const QString& headers) override {
        inner_->Navigate2(url, target, post_data, headers);
    }
    void Navigate(const QString& url) override { inner_->Navigate(url); }
    void GoBack() override { inner_->GoBack(); }
    void GoForward() override { inner_->GoForward(); }
    void Refresh() override { inner_->Refresh(); }
    void Refresh2() override { inner_->Refresh2(); }
    void Stop() override { inner_->Stop(); }
    void setSilent(bool silent) override { inner_->setSilent(silent); }
    void setFocus() override { inner_->setFocus(); }
    int ReadyState() const override { return inner_->ReadyState(); }
    QString LocationURL() const override { return inner_->LocationURL(); }
    void readBodyOuterHtml(std::function<void(std::optional<QString>)> done) override {
        inner_->readBodyOuterHtml(std::move(done));
    }
    void writeBodyInnerHtml(const QString& html) override { inner_->writeBodyInnerHtml(html); }
    void setBodyBgColor(BgrColor color) override { inner_->setBodyBgColor(color); }
    void setBodyTextColor(BgrColor color) override { inner_->setBodyTextColor(color); }
    void setLinkColors(BgrColor link, BgrColor vlink, BgrColor alink) override {
        inner_->setLinkColors(link, vlink, alink);
    }
    void setCookie(const QString& cookie) override { inner_->setCookie(cookie); }
    void setCookieForUrl(const QString& cookie, const QUrl& url) override {
        inner_->setCookieForUrl(cookie, url);
    }
    void readFormField(const QString& form, const QString& field,
                       std::function<void(FormFieldRead)> done) override {
        inner_->readFormField(form, field, std::move(done));
    }

    void readBodyInnerHtml(std::function<void(std::optional<QString>)> done) override {
        const double asked = clock_.now_ms();
        const double completed = completed_ms_;
        QPointer<TimedBrowser> self(this);
        auto answer = [self, asked, completed,
                       done = std::move(done)](std::optional<QString> body) {
            if (!self) return;
            const double answered = self->clock_.now_ms();
            const size_t chars = body ? static_cast<size_t>(body->size()) : 0;
            const bool found = body.has_value();
            if (done) done(std::move(body));
            const double handled = self->clock_.now_ms();
            if (!found) return;
            QTimer::singleShot(0, self, [self, asked, completed, answered, handled, chars] {
                Frame f;
                f.wait_ms = asked - completed;
                f.read_ms = answered - asked;
                f.handle_ms = handled - answered;
                f.paint_ms = self->clock_.now_ms() - handled;
                f.body_chars = chars;
                self->frames_.push_back(f);
                self->measure_partial(self->frames_.size() - 1);
            });
        };
        if (rows_only_) {
            inner_->readBodyRowsHtml(3, std::move(answer));
        } else {
            inner_->readBodyInnerHtml(std::move(answer));
        }
    }

  private:
    // The same page read again as a read of the first rows alone would do it, for comparison.
    void measure_partial(size_t index) {
        const double asked = clock_.now_ms();
        QPointer<TimedBrowser> self(this);
        inner_->readBodyRowsHtml(3, [self, asked, index](std::optional<QString>) {
            if (self && index < self->frames_.size())
                self->frames_[index].partial_ms = self->clock_.now_ms() - asked;
        });
    }

    const Stopwatch& clock_;
    std::vector<Frame>& frames_;
    std::unique_ptr<QtWebBrowser> inner_;
    bool rows_only_ = false;
    double completed_ms_ = 0;
};

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())));
    return v[i];
}

void report(const char* name, const std::vector<Frame>& frames, double Frame::*field) {
    std::vector<double> v;
    for (const Frame& f : frames)
        if (f.*field >= 0) v.push_back(f.*field);
    if (v.empty()) return;
    std::printf("  %-34s median %7.2f ms   p95 %7.2f ms   max %7.2f ms\n", name, percentile(v, 0.5),
                percentile(v, 0.95), percentile(v, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: soak_frame_ui FOLDER [PAGES [rows]]\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    const size_t pages = argc > 2 ? static_cast<size_t>(std::max(0, std::atoi(argv[2]))) : 60;
    const bool rows_only = argc > 3 && std::string(argv[3]) == "rows";
    // The engine refuses to start as root with its sandbox on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    Stopwatch stopwatch;
    std::vector<Frame> frames;
    bench::SilentPrompts prompts;
    SystemClock system_clock;
    LcgRandom random;
    QtScreen screen;
    Services services{&prompts, &system_clock, &random, &screen};
    ProgramState state(folder, services);
    ui::ProgramUi ui(state, [&](QWidget*) -> std::unique_ptr<WebBrowser> {
        return std::make_unique<TimedBrowser>(stopwatch, frames, rows_only);
    });
    // Ends from the timer, without closing the windows: the main window would ask first.
    const auto finish = [&] {
        if (frames.empty()) {
            std::printf("frame: no page was read\n");
            std::fflush(stdout);
            _exit(1);
        }
        size_t chars = 0;
        for (const Frame& f : frames)
            chars = std::max(chars, f.body_chars);
        std::vector<Frame> work = frames;
        for (Frame& f : work)
            f.wait_ms = f.read_ms + f.handle_ms + f.paint_ms;
        std::printf(
            "frame: page complete to minimap redrawn (\"Standard\"), %zu pages of up to %zu "
            "characters\n",
            frames.size(), chars);
        report("timer wait (150 ms by design)", frames, &Frame::wait_ms);
        report("body read", frames, &Frame::read_ms);
        report("page read and minimap redraw", frames, &Frame::handle_ms);
        report("events and paint after it", frames, &Frame::paint_ms);
        report("work after the wait (the 16 ms)", work, &Frame::wait_ms);
        report("read of the first three rows instead", frames, &Frame::partial_ms);
        std::fflush(stdout);
        _exit(0);
    };
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (frames.size() >= pages) finish();
    });
    if (pages > 0) {
        check.start(50);
        QTimer::singleShot(120000, &app, finish);
    }
    // The start may run an event loop of its own.
    state.settings.LOAD_SETTINGS();
    INIT_PROGRAM(state, ui);
    return app.exec();
}
