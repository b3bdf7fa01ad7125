// The program's exception classes. An exception's message is exactly what the application's
// error box shows (after the period rule of ErrorBoxText).
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Raised by TRegistry when a value cannot be read or written.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// Replaces the %s in `format` with `argument` (the messages hold exactly one).
std::string FormatMessageText(const std::string& format, const std::string& argument);

// The error box's text for a message: a period is appended when the last character sorts
// after "." (so a message ending in a quote or a period is shown as it is).
std::string ErrorBoxText(const std::string& message);
