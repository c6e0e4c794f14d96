// The program: one run of the main window over the files beside the executable.
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>

#include <filesystem>
#include <memory>

#include "common/services.h"
#include "main/program.h"
#include "main/program_state.h"
#include "main/ui/program_ui.h"
#include "platform/engine_setup.h"
#include "platform/qt_prompts.h"
#include "platform/qt_screen.h"
#include "platform/qt_web_browser.h"

int main(int argc, char** argv) {
    // The engine refuses to start as root with its sandbox on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    zeko::prepare_engine();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    zeko::setup_engine_profile();

    zeko::QtPrompts prompts;
    zeko::SystemClock clock;
    zeko::LcgRandom random;
    zeko::QtScreen screen;
    zeko::Services services{&prompts, &clock, &random, &screen};
    const std::filesystem::path folder(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    zeko::ProgramState state(folder, services);

    zeko::ui::ProgramUi ui(state, [](QWidget*) -> std::unique_ptr<zeko::WebBrowser> {
        return std::make_unique<zeko::QtWebBrowser>();
    });
    // The start-up window reads the settings before the start procedure runs; until it
    // exists, read them here, so the main window's first page already follows the stored
    // tracking modes.
    state.settings.LOAD_SETTINGS();
    zeko::INIT_PROGRAM(state, ui);
    if (ui.main_loaded()) prompts.setParentWidget(&ui.frmMAIN());
    return app.exec();
}
