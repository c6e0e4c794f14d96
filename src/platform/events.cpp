#include "platform/events.h"

#include <QCoreApplication>

namespace zeko {

void do_events() {
    QCoreApplication::processEvents();
}

}  // namespace zeko
