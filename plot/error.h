#pragma once

#include <stdexcept>
#include <string>

namespace plot {

// Numbers of the run-time errors this program can raise.
enum class ErrorNumber : int {
    InvalidOperation = 5,
    Overflow = 6,
    DivisionByZero = 11,
    CanvasFailure = 480,
    TextBoxFailure = 481,
    OutOfMemory = 7,
};

// The one error type of the program. Nothing below the top level catches it.
class RuntimeError : public std::runtime_error
{
public:
    RuntimeError(ErrorNumber number, const std::string& description);

    ErrorNumber number() const { return m_number; }
    int code() const { return static_cast<int>(m_number); }
    const std::string& description() const { return m_description; }

private:
    ErrorNumber m_number;
    std::string m_description;
};

// The standard description for each number.
std::string describe(ErrorNumber number);

[[noreturn]] void raise(ErrorNumber number);
[[noreturn]] void raise(ErrorNumber number, const std::string& detail);

} // namespace plot
