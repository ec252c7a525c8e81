#pragma once
// Base of the failures the address control reports. Each carries the text a
// person is shown (UTF-8); what() gives the same text.

#include <exception>
#include <string>
#include <utility>

namespace widgets {

class Exception : public std::exception
{
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}

    const std::string& message() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

} // namespace widgets
