#pragma once
/* Read-only hash from function names to values, built once from the complete list of names
 * with the seed (of up to 256 tried) that gives the fewest collisions. */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct hash_entry {
    char* name;
    void* value;
} hash_entry;

typedef struct hash_bucket {
    hash_entry** entries;
    int count;
} hash_bucket;

typedef struct hash_table {
    uint32_t seed;
    uint32_t bucket_count;
    hash_bucket** buckets;
} hash_table;

enum { HASH_FIRST_SEED = 0x5B3E8D21, HASH_SEED_STEP = 13, HASH_SEED_TRIES = 256 };

/* Null when memory runs out. */
hash_table* create_hash(const char* const* names, void* const* values, int count);
/* The value of the first entry with exactly this name; 0 when absent or the hash is null. */
void* hash_lookup(const char* name, const hash_table* hash);
void free_hash(hash_table* hash);
uint32_t hash_string(const char* text, uint32_t seed);

#ifdef __cplusplus
}
#endif
