// Exception classes of the toolkit. Each carries a fixed English message;
// the ones that name a value take it in their constructor.
#pragma once
#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

#define TOOLKIT_EXCEPTION(Name, Parent)                 \
    class Name : public Parent {                        \
    public:                                             \
        explicit Name(std::string message)              \
            : Parent(std::move(message)) {}             \
    };

TOOLKIT_EXCEPTION(EAbstractError, Exception)
TOOLKIT_EXCEPTION(EConvertError, Exception)
TOOLKIT_EXCEPTION(EListError, Exception)
TOOLKIT_EXCEPTION(EStringListError, Exception)
TOOLKIT_EXCEPTION(EOutOfMemory, Exception)
TOOLKIT_EXCEPTION(EInvalidOperation, Exception)
TOOLKIT_EXCEPTION(EThread, Exception)
TOOLKIT_EXCEPTION(EStreamError, Exception)
TOOLKIT_EXCEPTION(EReadError, EStreamError)
TOOLKIT_EXCEPTION(EWriteError, EStreamError)
TOOLKIT_EXCEPTION(EFOpenError, EStreamError)
TOOLKIT_EXCEPTION(EFCreateError, EStreamError)
TOOLKIT_EXCEPTION(EInvalidGraphic, Exception)
TOOLKIT_EXCEPTION(EInvalidGraphicOperation, Exception)
TOOLKIT_EXCEPTION(EOSError, Exception)
TOOLKIT_EXCEPTION(EOutOfResources, EOSError)
TOOLKIT_EXCEPTION(EResNotFound, Exception)
// Cancels an operation without an error to show: whoever started it catches it.
TOOLKIT_EXCEPTION(EAbort, Exception)

#undef TOOLKIT_EXCEPTION

// The fixed texts, in one place so that callers and tests agree on them.
namespace Texts {
inline constexpr const char* AbstractError = "Abstract Error";
inline constexpr const char* AssignError = "Cannot assign a %s to a %s";
inline constexpr const char* ListIndexError = "List index out of bounds (%d)";
inline constexpr const char* ListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* DuplicateString = "String list does not allow duplicates";
inline constexpr const char* DuplicateItem = "List does not allow duplicates";
inline constexpr const char* SortedListError = "Operation not allowed on sorted string list";
inline constexpr const char* ReadError = "Stream read error";
inline constexpr const char* WriteError = "Stream write error";
inline constexpr const char* FOpenError = "Cannot open file \"%s\"";
inline constexpr const char* FCreateError = "Cannot create file \"%s\"";
inline constexpr const char* MemoryStreamError = "Out of memory while expanding memory stream";
inline constexpr const char* ThreadError = "Thread error: %s (%d)";
inline constexpr const char* IniPathError = "Settings file path must be absolute: %s";
inline constexpr const char* InvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* IniWriteError = "Unable to write to %s";
} // namespace Texts

// Raised by a virtual operation that a class declares but does not supply.
[[noreturn]] void AbstractMethod();
