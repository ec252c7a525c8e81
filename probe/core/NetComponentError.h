#pragma once
// Base of every error the echo client raises. Callers catch it (by this base)
// before it can reach the event loop and show what() to the user.

#include <stdexcept>
#include <string>

namespace probe {

class NetComponentError : public std::runtime_error
{
public:
    explicit NetComponentError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace probe
