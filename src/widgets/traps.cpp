#include "widgets/traps.h"

#include "common/errors.h"

namespace zeko::ui {

Q_LOGGING_CATEGORY(lcTrapped, "zeko.trapped", QtCriticalMsg)

void report_trapped(const char* where, std::exception_ptr error) {
    const RuntimeError e = as_runtime_error(error);
    qCWarning(lcTrapped, "%s: error %d (%s)", where, e.number(), e.what());
}

}  // namespace zeko::ui
