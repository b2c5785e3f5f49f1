#include "plot/error.h"

namespace plot {

RuntimeError::RuntimeError(ErrorNumber number, const std::string& detail)
    : std::runtime_error(detail.empty() ? describe(number) : describe(number) + ": " + detail),
      m_number(number)
{
}

std::string describe(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidOperation:
        return "Invalid floating-point operation";
    case ErrorNumber::Overflow:
        return "Overflow";
    case ErrorNumber::OutOfMemory:
        return "Out of memory";
    case ErrorNumber::DivisionByZero:
        return "Division by zero";
    case ErrorNumber::CanvasFailure:
        return "Canvas operation failed";
    case ErrorNumber::TextBoxFailure:
        return "Text box operation failed";
    }
    return "Unknown error";
}

void raise(ErrorNumber number, const std::string& detail)
{
    throw RuntimeError(number, detail);
}

} // namespace plot
