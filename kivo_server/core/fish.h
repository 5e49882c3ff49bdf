#pragma once
/* Twofish keystreams of a connection direction, keyed from a 32-bit seed, made 256 bytes at a
 * time; and the light scramble keystream that shares the generator. */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { FISH_BUFFER_BYTES = 256 };
#define FISH_GUARD 0x12345678u

typedef struct fish_state fish_state;

/* Creates and keys a state in *out; returns 0 (-1 when memory runs out, *out null). */
int quorvel_server_fish_init(fish_state** out, uint32_t seed);
/* Refills the keystream buffer and returns its first byte; the index is then 1. */
int quorvel_server_fish_crypt_buffer(fish_state* fs);
/* Frees the state; a null state is accepted. Returns 0. */
int quorvel_server_fish_free(fish_state* fs);

/* The next keystream byte: from the buffer while it lasts, else from a refill. */
unsigned char fish_next_byte(fish_state* fs);
/* XORs count bytes in place with the next keystream bytes. */
void fish_crypt(fish_state* fs, unsigned char* bytes, long count);
/* Keystream bytes taken since keying (a fresh state stands at 1). */
uint64_t fish_position(const fish_state* fs);

/* One step of the generator shared by the keystreams. */
int32_t fish_generator_step(int32_t x);
/* XORs each byte with the low byte of the next generator value; a state of 0 changes nothing. */
void kivo_scramble(unsigned char* bytes, long count, int32_t* state);

#ifdef __cplusplus
}
#endif
