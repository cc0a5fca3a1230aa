#pragma once
// Hints for the compiler on the hot paths of the evaluator and the statement
// loop, spelt once for each compiler: GCC and Clang, MSVC, and nothing for
// any other (the code is correct without them, only slower).
#if defined(__GNUC__) || defined(__clang__)
#define TARNIK_ALWAYS_INLINE [[gnu::always_inline]] inline
#define TARNIK_UNREACHABLE() __builtin_unreachable()
#elif defined(_MSC_VER)
#define TARNIK_ALWAYS_INLINE __forceinline
#define TARNIK_UNREACHABLE() __assume(false)
#else
#define TARNIK_ALWAYS_INLINE inline
#define TARNIK_UNREACHABLE() ((void)0)
#endif
