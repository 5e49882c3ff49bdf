#include "kivo_hash.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" uint32_t hash_string(const char* text, uint32_t seed) {
    const size_t n = std::strlen(text);
    uint32_t h = 0;
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        uint32_t word;
        std::memcpy(&word, text + i, 4); // host byte order
        h = h ^ (h << 1) ^ word;
    }
    for (; i < n; ++i)
        h = h ^ static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(text[i]))) ^
            (h << 1);
    return h ^ seed;
}

extern "C" void free_hash(hash_table* hash) {
    if (!hash)
        return;
    if (hash->buckets) {
        for (uint32_t b = 0; b < hash->bucket_count; ++b) {
            hash_bucket* bucket = hash->buckets[b];
            if (!bucket)
                continue;
            for (int e = 0; e < bucket->count; ++e) {
                if (bucket->entries && bucket->entries[e]) {
                    std::free(bucket->entries[e]->name);
                    std::free(bucket->entries[e]);
                }
            }
            std::free(bucket->entries);
            std::free(bucket);
        }
        std::free(hash->buckets);
    }
    std::free(hash);
}

namespace {

uint32_t collisionsUnder(uint32_t seed, const char* const* names, int count, uint32_t m,
                         int* counters) {
    std::memset(counters, 0, sizeof(int) * m);
    for (int i = 0; i < count; ++i)
        ++counters[hash_string(names[i], seed) % m];
    uint32_t collisions = 0;
    for (uint32_t b = 0; b < m; ++b)
        if (counters[b] > 1)
            collisions += static_cast<uint32_t>(counters[b] - 1);
    return collisions;
}

} // namespace

extern "C" hash_table* create_hash(const char* const* names, void* const* values, int count) {
    if (count < 0)
        count = 0;
    const uint32_t m = 5u * static_cast<uint32_t>(count) + 1;
    int* counters = static_cast<int*>(std::calloc(m, sizeof(int)));
    if (!counters) {
        std::perror("hash.c: create_hash: calloc buckets failed");
        return nullptr;
    }
    uint32_t best = static_cast<uint32_t>(count) + 1;
    uint32_t candidate = HASH_FIRST_SEED, chosen = candidate;
    for (int t = 0; t < HASH_SEED_TRIES && best != 0; ++t, candidate += HASH_SEED_STEP) {
        const uint32_t collisions = collisionsUnder(candidate, names, count, m, counters);
        if (collisions < best) {
            best = collisions;
            chosen = candidate;
        }
    }
    collisionsUnder(chosen, names, count, m, counters);

    hash_table* hash = static_cast<hash_table*>(std::calloc(1, sizeof(hash_table)));
    if (!hash) {
        std::free(counters);
        return nullptr;
    }
    hash->seed = chosen;
    hash->bucket_count = m;
    hash->buckets = static_cast<hash_bucket**>(std::calloc(m, sizeof(hash_bucket*)));
    if (!hash->buckets) {
        std::perror("hash.c: create_hash: calloc hash_buckets failed");
        std::free(counters);
        std::free(hash);
        return nullptr;
    }
    bool ok = true;
    for (uint32_t b = 0; b < m && ok; ++b) {
        if (counters[b] == 0)
            continue;
        hash_bucket* bucket = static_cast<hash_bucket*>(std::calloc(1, sizeof(hash_bucket)));
        hash->buckets[b] = bucket;
        ok = bucket && (bucket->entries = static_cast<hash_entry**>(
                            std::calloc(static_cast<size_t>(counters[b]), sizeof(hash_entry*))));
    }
    for (int i = 0; i < count && ok; ++i) {
        hash_bucket* bucket = hash->buckets[hash_string(names[i], chosen) % m];
        hash_entry* entry = static_cast<hash_entry*>(std::calloc(1, sizeof(hash_entry)));
        bucket->entries[bucket->count++] = entry;
        ok = entry && (entry->name = static_cast<char*>(std::malloc(std::strlen(names[i]) + 1)));
        if (ok) {
            std::strcpy(entry->name, names[i]);
            entry->value = values[i];
        }
    }
    std::free(counters);
    if (!ok) {
        free_hash(hash);
        return nullptr;
    }
    return hash;
}

extern "C" void* hash_lookup(const char* name, const hash_table* hash) {
    if (!hash || !name)
        return nullptr;
    const hash_bucket* bucket = hash->buckets[hash_string(name, hash->seed) % hash->bucket_count];
    if (!bucket)
        return nullptr;
    for (int e = 0; e < bucket->count; ++e)
        if (std::strcmp(bucket->entries[e]->name, name) == 0)
            return bucket->entries[e]->value;
    return nullptr;
}
