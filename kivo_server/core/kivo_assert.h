#pragma once
/* Programming errors stop the process in every build; the text names the broken condition. */
#include <stdio.h>
#include <stdlib.h>

#define KIVO_ASSERT(cond, text)                                                                    \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", text, __FILE__, __LINE__); \
            fflush(stderr);                                                                        \
            abort();                                                                               \
        }                                                                                          \
    } while (0)
