#include "plot/fpstatus.h"

#include "plot/error.h"

#include <cfenv>

namespace plot {
namespace fp {

void fail(unsigned faults, bool isNan)
{
    clearStatus();
    // A division by zero also yields an infinity: name the cause, not the symptom.
    if (isDivisionByZero(faults))
        raise(ErrorNumber::DivisionByZero);
    if (isInvalid(faults) || isNan)
        raise(ErrorNumber::InvalidOperation);
    raise(ErrorNumber::Overflow);
}

} // namespace fp

void clearStatus()
{
#ifndef PLOT_FP_NONE
    std::feclearexcept(FE_ALL_EXCEPT);
#endif
}

#if !defined(PLOT_FP_MXCSR) && !defined(PLOT_FP_NONE)
StatusKeeper::StatusKeeper()
{
    m_saved = static_cast<unsigned>(std::fetestexcept(FE_ALL_EXCEPT));
}

StatusKeeper::~StatusKeeper()
{
    std::feclearexcept(FE_ALL_EXCEPT & ~static_cast<int>(m_saved));
    std::feraiseexcept(static_cast<int>(m_saved));
}
#endif

} // namespace plot
