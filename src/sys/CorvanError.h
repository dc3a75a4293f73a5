// The one error type of the installer. A failure that ends an operation is
// thrown with a constant English text; callers catch it where a phase or a
// thread ends and turn it into a status, an empty result or an event. The text
// is for diagnostics only and never reaches the user or the reports.
#pragma once

#include <exception>

class CorvanError : public std::exception {
public:
    explicit CorvanError(const char* text) noexcept : text_(text) {}
    const char* what() const noexcept override { return text_; }

private:
    const char* text_;  // always a string literal
};
