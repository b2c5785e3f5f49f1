#include "plot/fpstatus.h"

#include "plot/error.h"

namespace plot {
namespace fp {

void fail(unsigned faults, bool isNan)
{
    clear();
    // A division by zero also yields an infinity: name the cause, not the symptom.
    if (isDivisionByZero(faults))
        raise(ErrorNumber::DivisionByZero);
    if (isInvalid(faults) || isNan)
        raise(ErrorNumber::InvalidOperation);
    raise(ErrorNumber::Overflow);
}

} // namespace fp
} // namespace plot
