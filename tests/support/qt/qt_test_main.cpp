// The main of every window and browser test program: a Qt application exists before the tests
// run. Test discovery (--gtest_list_tests) needs no display and starts no Qt.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>

#include "support/qt/qt_support.h"

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer: Qt WebEngine's own code frees some objects through a base of another
// size and keeps a few allocations of each page to the end. Neither is the program's.
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6WebEngineCore.so\nleak:libfontconfig.so\n";
}
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    // The engine refuses to start as root with its sandbox on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    zeko::testing::fail_on_trapped_errors();
    return RUN_ALL_TESTS();
}
