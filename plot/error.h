#pragma once

#include <stdexcept>
#include <string>

namespace plot {

// Numbers of the run-time errors this program can raise. They are the numbers
// the classic BASIC family gives the same faults (5 invalid procedure call,
// 6 overflow, 7 out of memory, 11 division by zero, 480 and 481 for a picture
// or text control that cannot do what it was asked), so a report reads as
// users of such tools know it.
enum class ErrorNumber : int {
    InvalidOperation = 5,
    Overflow = 6,
    OutOfMemory = 7,
    DivisionByZero = 11,
    CanvasFailure = 480,
    TextBoxFailure = 481,
};

// The standard description for each number.
std::string describe(ErrorNumber number);

// The one error type of the program. Nothing below the top level catches it.
// Its description (what()) is the standard one, followed by the detail when given.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(ErrorNumber number, const std::string& detail = {});

    ErrorNumber number() const { return m_number; }
    int code() const { return static_cast<int>(m_number); }
    std::string description() const { return what(); }

private:
    ErrorNumber m_number;
};

[[noreturn]] void raise(ErrorNumber number, const std::string& detail = {});

} // namespace plot
