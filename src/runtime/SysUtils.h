#pragma once
// The runtime's exception classes: every error of the suite is an Exception
// carrying a message in the system's 8-bit text.

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char *what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

// Silent exception: the application's exception handling ignores it.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// The class library's failed assignment between persistent objects.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A type-tested cast to a class the object does not belong to.
class EInvalidCast : public Exception {
public:
    EInvalidCast() : Exception("Invalid class typecast") {}
};

// Input/output failures of files.
class EInOutError : public Exception {
public:
    EInOutError(std::string message, int code) : Exception(std::move(message)), ErrorCode(code) {}
    int ErrorCode;
};
