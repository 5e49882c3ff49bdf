#pragma once
/* kivo_server.dll: the server half of the RPC protocol. The host starts and stops the server
 * through the control functions; service modules register their functions and use the
 * per-call services while a call runs. Plain C exports (cdecl). Integer results: 0 success,
 * negative codes for failures. */
#include "fish.h"
#include "kivo_marshal.h"

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef KIVO_SERVER_BUILD
#define KIVO_SERVER_API __declspec(dllexport)
#else
#define KIVO_SERVER_API __declspec(dllimport)
#endif

typedef struct kivo_worker kivo_worker;
typedef struct kivo_client kivo_client;

enum { KIVO_SERVICE_MAGIC = 773, KIVO_DEFAULT_PORT = 8021, KIVO_ALTERNATIVE_PORT = 8031 };

/* Failures of the start reported to the host. */
enum {
    KIVO_ERR_ALREADY_INITIALIZED = -2,
    KIVO_ERR_BAD_PROCESS_ID = -10,
    KIVO_ERR_WINSOCK = -11,
    KIVO_ERR_NO_PORT = -12,
    KIVO_ERR_START = -13
};

/* A service function: its result r is replied, with the first r bytes of *output (a malloc
 * buffer that the server frees) when r > 0. */
typedef int (*kivo_service_fn)(int uid, int version, int encrypt, char* input, int length,
                               char** output, void* reserved, kivo_worker* worker, int debug);
/* Undoes a login when its client went away. */
typedef int (*kivo_logout_fn)(const char* logout_name, int handle, int extra);
/* Registers the host's services instead of the services file. */
typedef int (*kivo_register_fn)(void);
typedef void (*kivo_shutdown_hook_fn)(void* argument);
typedef void* (*kivo_allocator_fn)(size_t count, size_t size);

/* Lifecycle and control. */
KIVO_SERVER_API int kivo_server_init(const char* root, int port, kivo_register_fn callback);
KIVO_SERVER_API int kivo_server_auto_init(const char* root, int port, const char* services_file);
KIVO_SERVER_API int kivo_server_init_2(const char* root, int port, kivo_register_fn callback,
                                       int workers, int dedicated, int clients);
KIVO_SERVER_API int kivo_server_init_3(const char* root, int port, kivo_register_fn callback,
                                       int workers, int dedicated, int clients, int fake);
KIVO_SERVER_API int kivo_server_init_4(const char* root, int port, kivo_register_fn callback,
                                       int workers, int dedicated, int clients, int fake,
                                       const char* name, const char* services_file);
KIVO_SERVER_API int kivo_server_init_5(const char* root, int port, kivo_register_fn callback,
                                       int workers, int dedicated, int clients, int fake,
                                       const char* name, const char* services_file, int root_flag);
KIVO_SERVER_API int kivo_server_init_6(const char* root, int port, kivo_register_fn callback,
                                       int workers, int dedicated, int clients, int fake,
                                       const char* name, const char* services_file, int root_flag,
                                       int ssl);
/* 1 on success, 0 on failure. */
KIVO_SERVER_API int kivo_init(void);
/* Starts the server task for process 0 or 1 and waits until it listens; 0 or a KIVO_ERR_ code. */
KIVO_SERVER_API int kivo_init_ex(int process_id);
KIVO_SERVER_API int kivo_server_is_initialized(void);
KIVO_SERVER_API int kivo_server_shutdown(void);
KIVO_SERVER_API int kivo_server_trigger_shutdown(void);
KIVO_SERVER_API int kivo_server_add_shutdown_hook(kivo_shutdown_hook_fn function, void* argument);
KIVO_SERVER_API int kivo_server_add_shutdown_hook_2(kivo_shutdown_hook_fn function, void* argument,
                                                    int unused);
KIVO_SERVER_API int kivo_server_add_shutdown_hook_3(kivo_shutdown_hook_fn function, void* argument,
                                                    int pass, const char* description);
KIVO_SERVER_API int kivo_server_take_aux_mutex(void);
KIVO_SERVER_API int kivo_server_give_aux_mutex(void);
KIVO_SERVER_API int kivo_server_allow_external_connections(int flag);
KIVO_SERVER_API int kivo_server_allow_specific_ipaddr(const char* address);
KIVO_SERVER_API int kivo_server_get_hostinfo(int* a, int* port);
KIVO_SERVER_API int kivo_server_trigger_sleep(void);
KIVO_SERVER_API const char* kivo_server_lpc_test(void);
KIVO_SERVER_API void kivo_indirect_kivo_debug_S_Free(void* p);
KIVO_SERVER_API int kivo_server_get_kivo_service_list(char*** list, int* count,
                                                      kivo_allocator_fn allocator);

/* Service registry and per-call services. */
KIVO_SERVER_API int kivo_register_service(kivo_logout_fn logout, const char** function_names,
                                          kivo_service_fn* functions,
                                          const char** fingerprint_names, const char** fingerprints,
                                          const int* thread_safe, int count, int magic,
                                          const char* service_name, int version_major,
                                          int version_minor);
KIVO_SERVER_API int kivo_login(int uid, const char* login_name, const char* logout_name, int handle,
                               int extra);
KIVO_SERVER_API int kivo_logout(int uid, const char* login_name, const char* ignored, int handle);
KIVO_SERVER_API int kivo_auto_logout(const char* logout_name, int handle, int extra);
KIVO_SERVER_API int kivo_secure_handle_set(kivo_client* connection, intptr_t handle);
KIVO_SERVER_API int kivo_secure_handle_check(kivo_client* connection, intptr_t handle);
KIVO_SERVER_API int kivo_check_canceled(kivo_worker* worker);
KIVO_SERVER_API int kivo_send_progress_report(kivo_worker* worker, float fraction, int value);
KIVO_SERVER_API int kivo_status(int already_locked);

/* Reading a call's input: kivo_server_kivo_sscanf (kivo_marshal.h) takes the input the service
 * function was given, or a point inside it, and reads no further than the end of that input
 * (the server knows each call's input and its length; an input pointer outside the payload of
 * a running call answers KIVO_SSCANF_NOT_A_PAYLOAD). Its targets follow the format: allocating
 * directives ('8') set pointers into the payload or to recorded copies; a non-allocating string
 * is copied with its NUL into the buffer its target already points to, and a non-allocating
 * array into the array its target points to. Such a buffer must hold what the client sent (at
 * most the input's length): that is the caller's contract. A null target skips its value. */

/* What a service function reaches through its worker: the calling connection and that
 * connection's keystreams (client to server for the reader, server to client for the writer;
 * null before the protocol version keys them). */
KIVO_SERVER_API kivo_client* kivo_worker_client(kivo_worker* worker);
KIVO_SERVER_API fish_state* kivo_client_read_stream(kivo_client* connection);
KIVO_SERVER_API fish_state* kivo_client_write_stream(kivo_client* connection);

#ifdef __cplusplus
}
#endif
