// The main window's minimap redraw (the core's BUILD_MAP and the update of the tiles, panel and
// lines it changed) against the core's BUILD_MAP alone on the same window, offscreen. The
// character moves to a distant square before every call, so every tile changes.
//
// Zoom 11 always draws coloured tiles: picture tiles stop at zoom 9, so the picture style is
// measured there.

#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "bench_support.h"
#include "common/services.h"
#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/frm_main.h"
#include "main/ui/program_ui.h"
#include "map/vamp_db.h"
#include "platform/browser.h"
#include "platform/qt_screen.h"

namespace {

using namespace zeko;

// A browser that shows an empty widget and never loads anything: the redraw does not touch
// the browser, and a real engine would only add noise.
class StubBrowser final : public WebBrowser {
  public:
    explicit StubBrowser(QWidget* parent) : widget_(new QWidget(parent)) {}

    QWidget* widget() override { return widget_; }
    void Navigate2(const QString&) override {}
    void Navigate2(const QString&, const QString&, const QByteArray&, const QString&) override {}
    void Navigate(const QString&) override {}
    void GoBack() override {}
    void GoForward() override {}
    void Refresh() override {}
    void Refresh2() override {}
    void Stop() override {}
    void setSilent(bool) override {}
    void setFocus() override {}
    int ReadyState() const override { return 0; }
    QString LocationURL() const override { return {}; }
    void readBodyInnerHtml(std::function<void(std::optional<QString>)> done) override {
        if (done) done(std::nullopt);
    }
    void readBodyOuterHtml(std::function<void(std::optional<QString>)> done) override {
        if (done) done(std::nullopt);
    }
    void writeBodyInnerHtml(const QString&) override {}
    void setBodyBgColor(BgrColor) override {}
    void setBodyTextColor(BgrColor) override {}
    void setLinkColors(BgrColor, BgrColor, BgrColor) override {}
    void setCookie(const QString&) override {}
    void setCookieForUrl(const QString&, const QUrl&) override {}
    void readFormField(const QString&, const QString&,
                       std::function<void(FormFieldRead)> done) override {
        if (done) done(FormFieldRead{});
    }

  private:
    QPointer<QWidget> widget_;
};

// The program started on a temporary folder with the sample city and one character.
class MainWindowWorld {
  public:
    MainWindowWorld() : services_{&prompts_, &clock_, &random_, &screen_} {
        std::ofstream(folder_.path() / "MAP.DAT", std::ios::binary) << bench::sample_map_file();
        state_ = std::make_unique<ProgramState>(folder_.path(), services_);
        VAMP v;
        v.set_handle("Bencher");
        v.POS_X = 100;
        v.POS_Y = 100;
        v.DEST_X = 160;
        v.DEST_Y = 30;
        state_->db.CREATE_DB(v);
        ui_ = std::make_unique<ui::ProgramUi>(
            *state_,
            [](QWidget* parent) -> std::unique_ptr<WebBrowser> {
                return std::make_unique<StubBrowser>(parent);
            },
            [] {});
        INIT_PROGRAM(*state_, *ui_);
        QCoreApplication::processEvents();
        map_frame_ = main().findChild<QWidget*>(QStringLiteral("fraMAP"));
        info_frame_ = main().findChild<QWidget*>(QStringLiteral("fraINFO"));
    }

    ~MainWindowWorld() {
        ui_.reset();
        state_.reset();
    }

    MainWindowWorld(const MainWindowWorld&) = delete;
    MainWindowWorld& operator=(const MainWindowWorld&) = delete;

    ui::FrmMain& main() { return ui_->frmMAIN(); }

    // Zoom and tile style as the settings give them, applied as the program applies them.
    void view(int16_t zoom, bool pictures) {
        state_->settings.SETTINGS.ZOOM = zoom;
        state_->settings.SETTINGS.TILE_IMAGES = pictures ? kTrue : kFalse;
        main().APPLY_SETTINGS();
        main().BUILD_MAP();
        QCoreApplication::processEvents();
    }

    // The next square of a walk that jumps across the city each time.
    void step() {
        ++walk_;
        VAMP& me = state_->db.current();
        me.POS_X = static_cast<int16_t>(10 + (walk_ * 37) % 181);
        me.POS_Y = static_cast<int16_t>(10 + (walk_ * 53) % 181);
    }

    // How many tiles of each kind the window shows, for the report.
    std::string shown_tiles() {
        int pictures = 0;
        int colours = 0;
        for (int n = 0; n <= 120; ++n) {
            const QWidget* picture =
                main().findChild<QWidget*>(QStringLiteral("imgTILE(%1)").arg(n));
            const QWidget* colour = main().findChild<QWidget*>(QStringLiteral("TILE(%1)").arg(n));
            if (picture && picture->isVisibleTo(&main())) ++pictures;
            if (colour && colour->isVisibleTo(&main())) ++colours;
        }
        return std::to_string(pictures) + " picture, " + std::to_string(colours) + " colour tiles";
    }

    // Paints what the redraw changed, now, as the event loop would.
    void paint() {
        if (map_frame_) map_frame_->repaint();
        if (info_frame_) info_frame_->repaint();
    }

  private:
    bench::TempFolder folder_;
    bench::SilentPrompts prompts_;
    SystemClock clock_;
    LcgRandom random_;
    QtScreen screen_;
    Services services_;
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<ui::ProgramUi> ui_;
    QWidget* map_frame_ = nullptr;
    QWidget* info_frame_ = nullptr;
    int walk_ = 0;
};

enum class Part { Core, Window, Painted };

void redraw(benchmark::State& bench, MainWindowWorld& w, int16_t zoom, bool pictures, Part part) {
    w.view(zoom, pictures);
    for (auto _ : bench) {
        w.step();
        switch (part) {
            case Part::Core:
                w.main().minimap().BUILD_MAP();
                break;
            case Part::Window:
                w.main().BUILD_MAP();
                break;
            case Part::Painted:
                w.main().BUILD_MAP();
                w.paint();
                break;
        }
        benchmark::DoNotOptimize(w.main().model().revision);
    }
    QCoreApplication::processEvents();
    bench.SetLabel(w.shown_tiles());
}

}  // namespace

int main(int argc, char** argv) {
    // The engine refuses to start as root with its sandbox on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    MainWindowWorld world;

    struct Case {
        const char* name;
        int16_t zoom;
        bool pictures;
        Part part;
    };
    const Case cases[] = {
        {"BM_CoreBuildMap11Colour", 11, false, Part::Core},
        {"BM_WindowBuildMap11Colour", 11, false, Part::Window},
        {"BM_WindowBuildMap11ColourPainted", 11, false, Part::Painted},
        {"BM_CoreBuildMap9Pictures", 9, true, Part::Core},
        {"BM_WindowBuildMap9Pictures", 9, true, Part::Window},
        {"BM_WindowBuildMap9PicturesPainted", 9, true, Part::Painted},
    };
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(c.name, [&world, c](benchmark::State& bench) {
            redraw(bench, world, c.zoom, c.pictures, c.part);
        })->Unit(benchmark::kMicrosecond);
    }
    return zeko::bench::run_with_ratios(
        argc, argv,
        {{"BM_WindowBuildMap11Colour", "BM_CoreBuildMap11Colour", 0},
         {"BM_WindowBuildMap11ColourPainted", "BM_CoreBuildMap11Colour", 0},
         {"BM_WindowBuildMap9Pictures", "BM_CoreBuildMap9Pictures", 0},
         {"BM_WindowBuildMap9PicturesPainted", "BM_CoreBuildMap9Pictures", 0}});
}
