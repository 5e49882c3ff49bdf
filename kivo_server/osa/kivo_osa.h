#pragma once
/* kivo_osa: the operating-system layer under the RPC server library: tasks, binary semaphores,
 * scheduler ticks, time of day, files, module loading by name and the system root. Plain C
 * exports (cdecl). */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef KIVO_OSA_BUILD
#define KIVO_OSA_API __declspec(dllexport)
#else
#define KIVO_OSA_API __declspec(dllimport)
#endif

/* Binary semaphore; any task may give it, not only the one that took it. */
typedef void* osa_mutex_t;

/* Same layout as the socket library's struct timeval. */
typedef struct osa_timeval {
    long tv_sec;
    long tv_usec;
} osa_timeval;

/* Task entry: the ten integer arguments of taskSpawn, wide enough for a pointer. */
typedef int (*osa_task_entry)(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t, intptr_t,
                              intptr_t, intptr_t, intptr_t);

enum {
    OSA_TICK_MS = 10, /* one scheduler tick */
    OSA_FILE_READ = 1,
    OSA_FILE_WRITE = 2
};

/* available 1: created available, 0: created taken. 0 on failure. */
KIVO_OSA_API osa_mutex_t osa_mutex_create(int available);
/* Blocks until taken; 0 when taken. */
KIVO_OSA_API int osa_mutex_take(osa_mutex_t m);
/* Never blocks; 0 when taken, non-zero when it was not available. */
KIVO_OSA_API int osa_mutex_trytake(osa_mutex_t m);
/* Makes it available (again); giving an available semaphore leaves it available. 0 on success. */
KIVO_OSA_API int osa_mutex_give(osa_mutex_t m);
KIVO_OSA_API int osa_mutex_destroy(osa_mutex_t m);

/* Starts an independent task running entry(a1 .. a10). The priority and options are accepted
 * and not used; the stack size is the task's initial stack commit. Returns the task id, or -1. */
KIVO_OSA_API int taskSpawn(const char* name, int priority, int options, int stack_size,
                           osa_task_entry entry, intptr_t a1, intptr_t a2, intptr_t a3, intptr_t a4,
                           intptr_t a5, intptr_t a6, intptr_t a7, intptr_t a8, intptr_t a9,
                           intptr_t a10);
/* Sleeps the calling task for the given number of ticks (OSA_TICK_MS each). */
KIVO_OSA_API int S_TaskDelay(int ticks);
/* Fills the time since 1970; tz is ignored. -1 on failure. */
KIVO_OSA_API int multios_gettimeofday(osa_timeval* tv, void* tz);

/* Module handle, 0 when not loaded. */
KIVO_OSA_API void* S_LoadLibrary(const char* path);
/* Address of a symbol of the module, or of any module of the process when module is 0. */
KIVO_OSA_API void* S_GetProcAddress(void* module, const char* name);

/* mode OSA_FILE_READ or OSA_FILE_WRITE (binary); 0 on failure. */
KIVO_OSA_API void* S_FileOpen(const char* path, int mode);
/* Non-zero while a line (with its line end) was read into the buffer. */
KIVO_OSA_API int S_FileGets(void* file, char* buffer, int size);
/* Number of bytes written. */
KIVO_OSA_API int S_FileWrite(void* file, const void* data, int length);
KIVO_OSA_API int S_FileClose(void* file);

/* The root path (by default the host program's folder). */
KIVO_OSA_API const char* S_SystemRoot(void);
/* Sets the root path; a null root goes back to the default. The flag is accepted and not used. */
KIVO_OSA_API int s_setSystemRoot_2(const char* root, int flag);
/* Last step of the server's shutdown. */
KIVO_OSA_API int osa_brain_shutdown(void);

#ifdef __cplusplus
}
#endif
