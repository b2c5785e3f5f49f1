#include "plot/error.h"

namespace plot {

RuntimeError::RuntimeError(ErrorNumber number, const std::string& description)
    : std::runtime_error("Run-time error " + std::to_string(static_cast<int>(number)) + ": " +
                         description),
      m_number(number), m_description(description)
{
}

std::string describe(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidOperation:
        return "Invalid floating-point operation";
    case ErrorNumber::Overflow:
        return "Overflow";
    case ErrorNumber::DivisionByZero:
        return "Division by zero";
    case ErrorNumber::CanvasFailure:
        return "Canvas operation failed";
    case ErrorNumber::TextBoxFailure:
        return "Text box operation failed";
    case ErrorNumber::OutOfMemory:
        return "Out of memory";
    }
    return "Unknown error";
}

void raise(ErrorNumber number)
{
    throw RuntimeError(number, describe(number));
}

void raise(ErrorNumber number, const std::string& detail)
{
    throw RuntimeError(number, describe(number) + ": " + detail);
}

} // namespace plot
