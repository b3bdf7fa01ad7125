// Message formatting shared by the exception classes and the error box.
#include "Base/Exception.h"

std::string FormatMessageText(const std::string& format, const std::string& argument) {
    std::string text = format;
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}
