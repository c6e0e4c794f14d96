#include "common/errors.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <string>

namespace zeko {

std::string_view error_description(int number) {
    switch (number) {
        case 5:
            return "Invalid procedure call or argument";
        case 6:
            return "Overflow";
        case 7:
            return "Out of memory";
        case 9:
            return "Subscript out of range";
        case 11:
            return "Division by zero";
        case 13:
            return "Type mismatch";
        case 52:
            return "Bad file name or number";
        case 53:
            return "File not found";
        case 54:
            return "Bad file mode";
        case 55:
            return "File already open";
        case 57:
            return "Device I/O error";
        case 58:
            return "File already exists";
        case 59:
            return "Bad record length";
        case 61:
            return "Disk full";
        case 62:
            return "Input past end of file";
        case 63:
            return "Bad record number";
        case 64:
            return "Bad file name";
        case 67:
            return "Too many files";
        case 68:
            return "Device unavailable";
        case 70:
            return "Permission denied";
        case 71:
            return "Disk not ready";
        case 74:
            return "Can't rename with different drive";
        case 75:
            return "Path/File access error";
        case 76:
            return "Path not found";
        default:
            return "Application-defined or object-defined error";
    }
}

RuntimeError::RuntimeError(Err err)
    : std::runtime_error(std::string(error_description(static_cast<int>(err)))),
      number_(static_cast<int>(err)) {}

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(std::move(description)), number_(number) {}

void raise(Err err) {
    throw RuntimeError(err);
}

Err error_from_errno(int e) {
    switch (e) {
        case ENOENT:
            return Err::FileNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return Err::PermissionDenied;
        case ENOTDIR:
        case ELOOP:
            return Err::PathNotFound;
        case ENAMETOOLONG:
            return Err::BadFileName;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return Err::DiskFull;
        case EMFILE:
        case ENFILE:
            return Err::TooManyFiles;
        case EEXIST:
            return Err::FileAlreadyExists;
        case EXDEV:
            return Err::RenameAcrossDrives;
        case ENOMEM:
            return Err::OutOfMemory;
        case EIO:
            return Err::DeviceIoError;
        case ENXIO:
        case ENODEV:
            return Err::DeviceUnavailable;
        case EISDIR:
        case EBUSY:
        case ENOTEMPTY:
        default:
            return Err::PathFileAccessError;
    }
}

void raise_errno(int errno_value) {
    raise(error_from_errno(errno_value));
}

RuntimeError as_runtime_error(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(Err::OutOfMemory);
    } catch (const std::filesystem::filesystem_error& e) {
        return RuntimeError(error_from_errno(e.code().value()));
    } catch (const std::out_of_range&) {
        return RuntimeError(Err::SubscriptOutOfRange);
    } catch (...) {
        return RuntimeError(Err::InvalidCall);
    }
}

}  // namespace zeko
