#include "platform/engine_setup.h"

#include <QByteArray>
#include <QWebEngineProfile>
#include <QtGlobal>

namespace zeko {

namespace {

// Every page the program shows comes from the game's few sites and is read or drawn by the
// program: one renderer process serves them all, where each new browser window would otherwise
// start one of its own (some 90 MB each). The pages draw nothing that needs the GPU.
constexpr char kEngineSwitches[] = "--renderer-process-limit=1 --disable-gpu";

// The profile's cache only ever holds the game's style sheet and small pictures.
constexpr int kHttpCacheBytes = 8 * 1024 * 1024;

}  // namespace

void prepare_engine() {
    const QByteArray user = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    QByteArray switches(kEngineSwitches);
    // The zygotes are there to start sandboxed renderers quickly; without the sandbox they are
    // two more processes (some 100 MB resident between them) for the one renderer.
    // (The engine turns its sandbox off whenever the variable is set, whatever its value.)
    if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) switches += " --no-zygote";
    if (!user.trimmed().isEmpty()) switches += ' ' + user;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", switches);
}

void setup_engine_profile(QWebEngineProfile* profile) {
    if (!profile) profile = QWebEngineProfile::defaultProfile();
    profile->setHttpCacheMaximumSize(kHttpCacheBytes);
}

}  // namespace zeko
