#pragma once
/* Diffie-Hellman numbers of the connection handshake: 8-byte unsigned numbers, big-endian,
 * computed byte by byte; they travel as hexadecimal text. */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { DHCRYPT_BYTES = 8 };

/* Loop state of one exponentiation: the modulus and the working registers. */
typedef struct dhcrypt_work {
    unsigned char modulus[DHCRYPT_BYTES];
    int index;
    int32_t carry;
    int bit;
} dhcrypt_work;

/* a = a + b * k; k = 0xFFFFFFFF subtracts b exactly. */
void dhcrypt_mul_add(dhcrypt_work* w, unsigned char* a, const unsigned char* b, uint32_t k);
/* a = a - modulus when a >= modulus. */
void dhcrypt_reduce(dhcrypt_work* w, unsigned char* a);
void dhcrypt_shift_right(unsigned char* a);
/* a = a * b mod modulus; both operands below the modulus. */
void dhcrypt_mod_mul(dhcrypt_work* w, unsigned char* a, const unsigned char* b);
void dhcrypt_from_text(dhcrypt_work* w, const char* text, unsigned char* out);
/* Upper-case hexadecimal without leading zero bytes; out holds at least 17 bytes. */
void dhcrypt_to_text(const unsigned char* n, char* out);
int dhcrypt_is_prime(uint32_t n);

/* out = base ^ exponent mod modulus, all as hexadecimal text (out: at least 17 bytes). */
void dhcrypt_mod_pow(const char* base, const char* exponent, const char* modulus, char* out);
/* A prime p <= 0x0FFFFFFF whose half (p-1)/2 is prime too, as "%lx" text (out: at least 9
 * bytes). */
void dhcrypt_choose_prime(uint32_t seed, char* out);
/* The search of dhcrypt_choose_prime from a given start value. */
uint32_t dhcrypt_search_prime(uint32_t v);

#ifdef __cplusplus
}
#endif
