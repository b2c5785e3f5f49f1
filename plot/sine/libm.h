/* What musl's sine needs of its libm.h, for building it where the C runtime
   is not musl: word access to doubles, and its internal names, renamed so as
   not to meet the runtime's own. */
#pragma once
#include <float.h>
#include <math.h>
#include <stdint.h>

#define sin plot_musl_sin
#define __sin plot_musl_ksin
#define __cos plot_musl_kcos
#define __rem_pio2 plot_musl_rem_pio2
#define __rem_pio2_large plot_musl_rem_pio2_large
#define hidden
#define predict_false(x) __builtin_expect(!!(x), 0)
#define FORCE_EVAL(x) do { volatile __typeof__(x) plot_forced = (x); (void)plot_forced; } while (0)

union plot_words { double f; uint64_t i; };
#define EXTRACT_WORDS(hi, lo, d) do { union plot_words u_ = {(d)}; (hi) = u_.i >> 32; (lo) = (uint32_t)u_.i; } while (0)
#define GET_HIGH_WORD(hi, d) do { union plot_words u_ = {(d)}; (hi) = u_.i >> 32; } while (0)
#define GET_LOW_WORD(lo, d) do { union plot_words u_ = {(d)}; (lo) = (uint32_t)u_.i; } while (0)
#define INSERT_WORDS(d, hi, lo) do { union plot_words u_; u_.i = ((uint64_t)(hi) << 32) | (uint32_t)(lo); (d) = u_.f; } while (0)
#define SET_HIGH_WORD(d, hi) INSERT_WORDS(d, hi, (uint32_t)(union plot_words){(d)}.i)
#define SET_LOW_WORD(d, lo) INSERT_WORDS(d, (union plot_words){(d)}.i >> 32, lo)

int __rem_pio2_large(double *, double *, int, int, int);
int __rem_pio2(double, double *);
double __sin(double, double, int);
double __cos(double, double);
