#pragma once
/* Call payloads described by a printf-like format language: the writer (kivo_sprintf1, with
 * kivo_tally predicting its size) and the reader (kivo_sscanf1) with its allocation list.
 *
 * Directives: '%', modifiers ('*' one level of indirection, '0' a presence marker, '#'
 * enciphered from protocol version 12 on, '8' the reader allocates), then a type character
 * (i 8-bit, r 16-bit, n 32-bit, l 64-bit, b boolean, v 32-bit opaque, f float, d double,
 * s string, O null-or-not, { nested structure) or an array: an optional count letter (i r n l),
 * '&' (inline, constant dimensions) or '@' (through a pointer, counted), then the element part.
 *
 * Struct mode walks an offsets table of kivo_offs_t entries: entry 0 is the structure size,
 * then one entry per field offset, dimension and nested format or table pointer. The entries
 * are pointer-sized so that they can hold those pointers on 64-bit hosts as well; on the wire
 * every value keeps its fixed 32-bit or stated size. 'v' and 'O' values are 32-bit fields.
 */
#include "fish.h"

#include <stdarg.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef intptr_t kivo_offs_t;

/* One buffer the reader allocated, in the caller's list. */
typedef struct kivo_alloc {
    void* ptr;
    struct kivo_alloc* next;
} kivo_alloc;

enum {
    KIVO_SSCANF_ALLOCATE = 1 /* flags bit: every directive allocates */
};

/* Negative results of the reader: the payload does not fit the format. */
enum {
    KIVO_SSCANF_TRUNCATED = -1,    /* a value runs past the end of the payload */
    KIVO_SSCANF_UNTERMINATED = -2, /* a string has no NUL inside the payload */
    KIVO_SSCANF_BAD_COUNT = -3, /* an array count is negative, overflows or exceeds the payload */
    KIVO_SSCANF_NO_FLOAT = -6,  /* floating values below protocol version 7 */
    KIVO_SSCANF_NO_MEMORY = -7,
    KIVO_SSCANF_BAD_LENGTH = -8,   /* a negative payload length, or no payload with a length */
    KIVO_SSCANF_NOT_A_PAYLOAD = -9 /* the input lies in no payload handed to a service */
};

/* Writes the list-mode arguments into a new buffer *out (null when nothing is written); the
 * caller frees it. Returns the number of bytes written. */
int kivo_server_kivo_sprintf(int version, int encrypt, fish_state* stream, char** out,
                             const char* format, ...);
/* Writes into dest, which holds kivo_tally bytes. base null: list mode (the values follow);
 * else struct mode (the offsets table follows). */
int kivo_sprintf1(int version, int encrypt, fish_state* stream, char* dest, const char* format,
                  const void* base, ...);
int kivo_vsprintf1(int version, int encrypt, fish_state* stream, char* dest, const char* format,
                   const void* base, va_list args);
/* The number of bytes kivo_sprintf1 writes for the same inputs. */
int kivo_tally(int version, const char* format, const void* base, ...);
int kivo_vtally(int version, const char* format, const void* base, va_list args);

/* Reads a payload that the server handed to a service (deciphering it in place) into the
 * list-mode targets, from input up to the end of that payload and never past it. A
 * non-allocating string or array is copied into the buffer its target already points to, which
 * must hold it (at most the payload's length). Returns the bytes consumed, or a negative
 * KIVO_SSCANF_ code (KIVO_SSCANF_NOT_A_PAYLOAD when input lies in no such payload). */
int kivo_server_kivo_sscanf(kivo_alloc** allocs, int version, int decrypt, fish_state* stream,
                            char* input, const char* format, ...);
/* The payloads kivo_server_kivo_sscanf may read: [data, data + length) from register until
 * unregister. The server registers each call's input while its service runs. */
void kivo_payload_register(const char* data, int length);
void kivo_payload_unregister(const char* data);
/* The bytes from p to the end of the registered payload holding it; -1 when none holds it. */
int kivo_payload_remaining(const char* p);
/* The reader over length bytes at input. base null: list mode (targets follow); else struct
 * mode (the offsets table follows). */
int kivo_sscanf1(kivo_alloc** allocs, int version, int decrypt, fish_state* stream, int flags,
                 char* input, int length, const char* format, void* base, ...);
int kivo_vsscanf1(kivo_alloc** allocs, int version, int decrypt, fish_state* stream, int flags,
                  char* input, int length, const char* format, void* base, va_list args);
/* Frees every recorded buffer and node; returns 0 (also for null). */
int kivo_server_kivo_sscanf_free_allocs(kivo_alloc* head);

#ifdef __cplusplus
}
#endif
