#include "main/ui/page_tracking.h"
#include "widgets/traps.h"

#include <QPointer>
#include <QTimer>

#include <optional>
#include <string>
#include <string_view>

#include "main/tracking.h"
#include "platform/browser.h"

namespace zeko::ui {

namespace {

CountdownRead countdown_of(const FormFieldRead& field) {
    CountdownRead countdown;
    switch (field.status) {
        case FormFieldRead::Status::Value:
            countdown.status = CountdownRead::Status::Value;
            break;
        case FormFieldRead::Status::MissingForm:
            countdown.status = CountdownRead::Status::MissingForm;
            break;
        case FormFieldRead::Status::Failed:
            countdown.status = CountdownRead::Status::Failed;
            break;
    }
    countdown.value = field.value.toStdString();
    return countdown;
}

}  // namespace

PageTracking::PageTracking(ProgramState& state, WebBrowser& wb, std::function<void()> build_map,
                           std::function<bool()> precog_checked, QObject* parent)
    : QObject(parent),
      wb_(wb),
      tracker_(std::make_unique<PositionTracker>(state, std::move(build_map))),
      precog_checked_(std::move(precog_checked)) {
    tmrRIP_ = new QTimer(this);
    tmrRIP_->setObjectName(QStringLiteral("tmrRIP"));
    connect(tmrRIP_, &QTimer::timeout, this, [this] { tmrRIP_Timer(); });
    connect(&wb_, &WebBrowser::DocumentComplete, this,
            [this](const QString&) { wb_DocumentComplete(); });
    connect(&wb_, &WebBrowser::BeforeNavigate2, this,
            [this](const NavigationRequest& request) { wb_BeforeNavigate2(request); });
}

PageTracking::~PageTracking() = default;

void PageTracking::set_rip_interval(int ms) {
    if (ms <= 0) {
        tmrRIP_->stop();
        return;
    }
    tmrRIP_->setInterval(ms);
    tmrRIP_->start();
}

void PageTracking::stop() {
    stopped_ = true;
    tmrRIP_->stop();
}

void PageTracking::wb_DocumentComplete() {
    // A page read still under way belongs to the page before this one.
    ++generation_;
    set_rip_interval(tracker_->document_complete_interval());
}

void PageTracking::wb_BeforeNavigate2(const NavigationRequest& request) {
    const QByteArray& post = request.post_data;
    trap("wb_BeforeNavigate2", [&] {
        tracker_->before_navigate(
            std::string_view(post.constData(), static_cast<size_t>(post.size())),
            countdown_of(request.countdown_ap), precog_checked_ && precog_checked_());
    });
    // A read of the page being left may still be under way; its answer would undo the
    // prediction, and the page that follows is not read.
    if (tracker_->POSITION_PREDICTED) ++generation_;
}

void PageTracking::tmrRIP_Timer() {
    set_rip_interval(0);
    const uint64_t generation = generation_;
    QPointer<PageTracking> self(this);
    // Only the first rows: on a page with a long chat log the whole body would cost a frame,
    // every 150 ms while a page has no neighbourhood table.
    wb_.readBodyRowsHtml(3, [self, generation](std::optional<QString> body) {
        // Too late: the program is ending, or a newer page has been completed since.
        if (!self || self->stopped_ || self->generation_ != generation) return;
        std::optional<std::string> text;
        if (body) text = body->toStdString();
        self->set_rip_interval(self->tracker_->read_timer(text));
    });
}

}  // namespace zeko::ui
