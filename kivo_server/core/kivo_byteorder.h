#pragma once
/* Host byte order, found at run time, and the big-endian wire forms of integers and floating
 * values. */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 1 big-endian, 0 little-endian, negative when the order is not recognised. */
int kivo_host_endianness(void);
/* 1 when the host stores the most significant byte of a 32-bit word first. */
int kivo_host_word_order(void);

uint16_t kivo_to_big_endian16(uint16_t v);
uint16_t kivo_from_big_endian16(uint16_t v);
uint32_t kivo_to_big_endian32(uint32_t v);
uint32_t kivo_from_big_endian32(uint32_t v);
uint64_t kivo_to_big_endian64(uint64_t v);
uint64_t kivo_from_big_endian64(uint64_t v);

void kivo_float_to_wire(float f, unsigned char out[4]);
float kivo_wire_to_float(const unsigned char in[4]);
/* The less significant 32-bit half first, each half big-endian. */
void kivo_double_to_wire(double d, unsigned char out[8]);
double kivo_wire_to_double(const unsigned char in[8]);

#ifdef __cplusplus
}
#endif
