#pragma once

#include <stdexcept>
#include <string>

// The program's base exception. Failures travel as exceptions that carry a
// text meant for the user; the guard around every handler shows that text in
// the standard error box.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    ~Exception() override;

    std::string Message() const { return what(); }
};
