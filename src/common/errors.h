#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zeko {

// Run-time error numbers. The player is shown these numbers ("Error #6") and asked to report
// them, so they keep the classic values that older reports used.
enum class Err : int16_t {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
    BadFileNameOrNumber = 52,
    FileNotFound = 53,
    BadFileMode = 54,
    FileAlreadyOpen = 55,
    DeviceIoError = 57,
    FileAlreadyExists = 58,
    BadRecordLength = 59,
    DiskFull = 61,
    InputPastEndOfFile = 62,
    BadRecordNumber = 63,
    BadFileName = 64,
    TooManyFiles = 67,
    DeviceUnavailable = 68,
    PermissionDenied = 70,
    DiskNotReady = 71,
    RenameAcrossDrives = 74,
    PathFileAccessError = 75,
    PathNotFound = 76,
};

// The description that goes with an error number ("Overflow", "File not found", ...);
// "Application-defined or object-defined error" for numbers without one.
std::string_view error_description(int number);

class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(Err err);
    RuntimeError(int number, std::string description);
    int number() const noexcept { return number_; }
    std::string_view description() const noexcept { return what(); }

  private:
    int number_;
};

[[noreturn]] void raise(Err err);

// Maps an errno value from a failed file operation to the error the player sees.
Err error_from_errno(int errno_value);
[[noreturn]] void raise_errno(int errno_value);

// Turns whatever a trapped step threw into the error that is reported: our own errors as
// they are, std::bad_alloc as out of memory, filesystem errors by their errno, index errors
// as subscript out of range, anything else as an invalid call.
RuntimeError as_runtime_error(std::exception_ptr error);

// Runs one step of a procedure that ignores its failures, so the next step still runs;
// answers whether the step went through.
template <class Step>
bool attempt(Step&& step) {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace zeko
