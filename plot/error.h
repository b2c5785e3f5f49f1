#pragma once

#include <stdexcept>
#include <string>

namespace plot {

// Numbers of the run-time errors this program can raise, shown in the report
// with their description: 5 an invalid floating-point operation, 6 an overflow
// (of a number, or of a coordinate past the 16-bit range), 7 out of memory, 11
// division by zero, 480 the canvas and 481 the result box could not do what
// they were asked. A fault keeps its number in every front-end.
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
