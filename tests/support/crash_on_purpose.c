/* Crashes on purpose: ctest expects it to fail, and to fail at once (no crash dialog waits). */
#include <stddef.h>

int main(void)
{
    volatile int* volatile nowhere = NULL;
    *nowhere = 1;
    return 0;
}
