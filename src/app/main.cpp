// The program: one run of the main window over the files beside the executable.
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QIcon>

#include <filesystem>
#include <memory>

#include "app/app_windows.h"
#include "common/services.h"
#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/program_ui.h"
#include "platform/download.h"
#include "platform/engine_setup.h"
#include "platform/qt_prompts.h"
#include "platform/qt_screen.h"
#include "platform/qt_web_browser.h"
#include "startup/ui/frm_splash.h"
#include "widgets/splash_art.h"

int main(int argc, char** argv) {
    // The engine refuses to start as root with its sandbox on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    zeko::prepare_engine();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    zeko::setup_engine_profile();
    // Every window of the program carries its logo.
    QApplication::setWindowIcon(QIcon(zeko::artwork::splash_logo()));

    zeko::QtPrompts prompts;
    zeko::SystemClock clock;
    zeko::LcgRandom random;
    zeko::QtScreen screen;
    zeko::Services services{&prompts, &clock, &random, &screen};
    const std::filesystem::path folder(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    zeko::ProgramState state(folder, services);

    const zeko::AppWindows::BrowserFactory make_browser =
        [](QWidget*) -> std::unique_ptr<zeko::WebBrowser> {
        return std::make_unique<zeko::QtWebBrowser>();
    };
    zeko::AppWindows windows(state, make_browser);
    zeko::ui::ProgramUi ui(state, windows, make_browser);
    windows.set_program(ui);

    // The start-up window reads the settings, updates the map and then starts the program.
    zeko::QtFileDownloader downloader;
    zeko::ui::FrmSplash splash(state, ui, downloader, make_browser);
    windows.set_splash(&splash);
    QObject::connect(&splash, &zeko::ui::FrmSplash::handed_over, [&] {
        if (ui.main_loaded()) prompts.setParentWidget(&ui.frmMAIN());
    });
    splash.Form_Load();
    return app.exec();
}
