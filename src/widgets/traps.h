#pragma once

#include <QLoggingCategory>

#include <exception>

namespace zeko::ui {

// Errors a window traps and goes on from. The category is off unless switched on
// ("zeko.trapped.warning=true" in QT_LOGGING_RULES); the tests switch it on and fail on it.
Q_DECLARE_LOGGING_CATEGORY(lcTrapped)

// Reports a trapped error, with the step it came from.
void report_trapped(const char* where, std::exception_ptr error);

// Runs one step that may raise (a procedure of the core, another window); an error it
// raises is reported and the caller goes on. Answers whether the step went through.
template <class Step>
bool trap(const char* where, Step&& step) {
    try {
        step();
        return true;
    } catch (...) {
        report_trapped(where, std::current_exception());
        return false;
    }
}

}  // namespace zeko::ui
