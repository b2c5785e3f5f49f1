#pragma once

#include <cmath>

#if defined(__x86_64__) || defined(__SSE2_MATH__)
#include <xmmintrin.h>
#define PLOT_FP_MXCSR 1
#elif defined(__wasm__)
// WebAssembly keeps no floating-point status: the test of each computed value
// (an infinity, not a number) carries the fault checks there.
#define PLOT_FP_NONE 1
#else
#include <cfenv>
#endif

namespace plot {

// Floating-point status tests. The faults are invalid operation, division by
// zero and overflow; inexact results and underflow pass. Only faults are ever
// acted on, so the common path reads the status and clears nothing.
namespace fp {

#ifdef PLOT_FP_MXCSR
// All double arithmetic here is SSE: its status register is the one that counts.
inline unsigned faults()
{
    return _mm_getcsr() & (_MM_EXCEPT_INVALID | _MM_EXCEPT_DIV_ZERO | _MM_EXCEPT_OVERFLOW);
}
inline bool isDivisionByZero(unsigned f)
{
    return f & _MM_EXCEPT_DIV_ZERO;
}
inline bool isInvalid(unsigned f)
{
    return f & _MM_EXCEPT_INVALID;
}
#elif defined(PLOT_FP_NONE)
inline unsigned faults()
{
    return 0;
}
inline bool isDivisionByZero(unsigned)
{
    return false;
}
inline bool isInvalid(unsigned)
{
    return false;
}
#else
inline unsigned faults()
{
    return static_cast<unsigned>(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW));
}
inline bool isDivisionByZero(unsigned f)
{
    return f & FE_DIVBYZERO;
}
inline bool isInvalid(unsigned f)
{
    return f & FE_INVALID;
}
#endif

// An empty asm that reads and writes the value in memory and may touch any
// memory: the arithmetic that produced the value cannot sink below the status
// test, and nothing that uses it can rise above it.
template <typename T> inline void pin(T& value)
{
    asm volatile("" : "+m"(value) : : "memory");
}

// Clears the status and raises the run-time error for what was found.
[[noreturn]] void fail(unsigned faults, bool isNan);

} // namespace fp

// Tests the status gathered since the last clear, and the value just computed
// (a quiet NaN or an infinity read from outside raises no flag, but is as
// wrong), before the value is stored, converted or drawn.
template <typename T> inline T checked(T value)
{
    fp::pin(value);
    const unsigned f = fp::faults();
    if (f != 0 || !std::isfinite(value))
        fp::fail(f, std::isnan(value));
    fp::pin(value);
    return value;
}

// Clears the whole status, so that flags left behind by other code are not
// blamed on the next formula.
void clearStatus();

// Keeps the status as it was across a call into other code (the toolkit). On
// SSE a read of one register before, and a compare after: cheap enough for every
// call out of the hot loop.
class StatusKeeper
{
public:
#ifdef PLOT_FP_MXCSR
    StatusKeeper() : m_saved(_mm_getcsr()) {}
    ~StatusKeeper()
    {
        if (_mm_getcsr() != m_saved)
            _mm_setcsr(m_saved);
    }
#elif defined(PLOT_FP_NONE)
    StatusKeeper() : m_saved(0) {}
#else
    StatusKeeper();
    ~StatusKeeper();
#endif
    StatusKeeper(const StatusKeeper&) = delete;
    StatusKeeper& operator=(const StatusKeeper&) = delete;

private:
    [[maybe_unused]] unsigned m_saved; // not read where there is no status
};

} // namespace plot
