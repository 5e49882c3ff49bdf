#pragma once
// Lets the compiler check printf-style arguments of the library's own formatting functions.

#include <cstdio>

#if defined(__GNUC__) && defined(__MINGW_PRINTF_FORMAT)
#define COMMONCPP_PRINTF_LIKE(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#elif defined(__GNUC__)
#define COMMONCPP_PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define COMMONCPP_PRINTF_LIKE(fmt, args)
#endif
