#pragma once

#include <cmath>

#if defined(PLOT_UNCHECKED)
// The bench's floor: the same engine with every test compiled out.
#define PLOT_FP_NONE 1
#elif defined(__x86_64__) || defined(__SSE2_MATH__)
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
// zero and overflow; inexact results and underflow pass.
//
// The flags gather until cleared, so one read of the status covers every step
// computed since the last clear. A read (and a clear) is slow next to the
// arithmetic, half a sine's time, so the engine reads the status once for each
// stretch of its own arithmetic, right before the first line that stretch
// computed is drawn (plot/graph.cpp). Every result is also tested for an
// infinity or not a number, which costs a compare: a value read from outside
// (the canvas extent, the form state) raises no flag, and a fault seen in a
// value stops the formula there.
namespace fp {

#ifdef PLOT_FP_MXCSR
constexpr unsigned kFaults = _MM_EXCEPT_INVALID | _MM_EXCEPT_DIV_ZERO | _MM_EXCEPT_OVERFLOW;
// All double arithmetic here is SSE: its status register is the one that counts.
inline unsigned faults()
{
    return _mm_getcsr() & kFaults;
}
inline void clear()
{
    _mm_setcsr(_mm_getcsr() & ~unsigned(_MM_EXCEPT_MASK));
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
inline void clear() {}
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
inline void clear()
{
    std::feclearexcept(FE_ALL_EXCEPT);
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

// The compiler knows nothing of the status register: these empty asm
// statements tie the arithmetic to its place. Results used by a read count as
// read there (nothing is computed late, past the test); after a clear, the
// inputs of what follows count as rewritten there (nothing is computed early,
// its flags then wiped). The values stay in their registers.
#if defined(PLOT_FP_NONE)
template <typename... T> inline void used(const T&...) {}
template <typename... T> inline void renewed(T&...) {}
#else
#ifdef PLOT_FP_MXCSR
#define PLOT_FP_REGISTER "x"
#else
#define PLOT_FP_REGISTER "m"
#endif
template <typename T> inline void useOne(const T& value)
{
    asm volatile("" : : PLOT_FP_REGISTER(value));
}
template <typename T> inline void renewOne(T& value)
{
    asm volatile("" : "+" PLOT_FP_REGISTER(value));
}
template <typename... T> inline void used(const T&... values)
{
    (useOne(values), ...);
    asm volatile("" ::: "memory");
}
template <typename... T> inline void renewed(T&... values)
{
    asm volatile("" ::: "memory");
    (renewOne(values), ...);
}
#undef PLOT_FP_REGISTER
#endif

// Raises the run-time error for what was found, the status cleared.
[[noreturn]] void fail(unsigned faults, bool isNan);

} // namespace fp

// Tests one result for an infinity or not a number: a compare, no status read.
// The status, read only then, names the fault.
template <typename T> inline T finite(T value)
{
#ifndef PLOT_UNCHECKED
    if (!std::isfinite(value))
        fp::fail(fp::faults(), std::isnan(value));
#endif
    return value;
}

// Clears the whole status, so that flags left behind by other code are not
// blamed on what follows.
inline void clearStatus()
{
    fp::clear();
}

// The status as the engine keeps it through one procedure. Its arithmetic runs
// in stretches: each starts with clear(), after the calls out before it (the
// canvas, the box), whose flags are not the engine's, and a stretch whose
// results are drawn ends with test(), right before the first line drawn.
class Status
{
public:
#ifdef PLOT_FP_MXCSR
    // Clear, with the control bits as they are: one write clears it again.
    Status() : m_clear(_mm_getcsr() & ~unsigned(_MM_EXCEPT_MASK))
    {
        _mm_setcsr(m_clear);
    }
#else
    Status()
    {
        fp::clear();
    }
#endif

    // The values named are the stretch's inputs.
    template <typename... T> void clear(T&... inputs) const
    {
#ifdef PLOT_FP_MXCSR
        _mm_setcsr(m_clear);
#else
        fp::clear();
#endif
        fp::renewed(inputs...);
    }

    // A fault in any step since clear() raises here, even one whose value came
    // back finite (a number divided by an overflow). The results named are
    // computed before the read.
    template <typename... T> void test(const T&... results) const
    {
        fp::used(results...);
        if (const unsigned f = fp::faults())
            fp::fail(f, false);
    }

private:
#ifdef PLOT_FP_MXCSR
    unsigned m_clear;
#endif
};

// The status and the value at once, for a result that is used right away.
template <typename T> inline T checked(T value)
{
    fp::used(value);
    const unsigned f = fp::faults();
    if (f != 0 || !std::isfinite(value))
        fp::fail(f, std::isnan(value));
    return value;
}

} // namespace plot
