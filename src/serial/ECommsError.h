#pragma once

#include <stdexcept>
#include <string>

// Raised when the serial port cannot be opened; what() is the text the
// caller shows to the user, unchanged.
class ECommsError : public std::runtime_error
{
public:
    explicit ECommsError(const std::string &message) : std::runtime_error(message) {}
};
