#include "kivo_hash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void* value(intptr_t v) {
    return reinterpret_cast<void*>(v);
}

TEST(Hash, StringHashOfWordsAndTailBytes) {
    EXPECT_EQ(0x64636261u, hash_string("abcd", 0)); // one word, host order
    const uint32_t h = 0x64636261u;
    EXPECT_EQ(h ^ 0x65u ^ (h << 1), hash_string("abcde", 0));
    EXPECT_EQ(0xFFFFFFE9u ^ 7u, hash_string("\xE9", 7)); // tail bytes are sign-extended
    EXPECT_EQ(0x5B3E8D21u, hash_string("", 0x5B3E8D21u));
}

TEST(Hash, EmptyHashHasOneBucketAndFindsNothing) {
    hash_table* hash = create_hash(nullptr, nullptr, 0);
    ASSERT_NE(nullptr, hash);
    EXPECT_EQ(1u, hash->bucket_count);
    EXPECT_EQ(nullptr, hash_lookup("kivo_ping", hash));
    EXPECT_EQ(nullptr, hash_lookup("kivo_ping", nullptr));
    free_hash(hash);
    free_hash(nullptr);
}

TEST(Hash, ExactNamesOnlyAndFirstOfEqualNames) {
    const char* names[] = {"SCAN_getJobList", "SCAN_getJob", "SCAN_getJobList", "ATTR_get"};
    void* values[] = {value(1), value(2), value(3), value(4)};
    hash_table* hash = create_hash(names, values, 4);
    ASSERT_NE(nullptr, hash);
    EXPECT_EQ(21u, hash->bucket_count);
    EXPECT_EQ(value(1), hash_lookup("SCAN_getJobList", hash));
    EXPECT_EQ(value(2), hash_lookup("SCAN_getJob", hash));
    EXPECT_EQ(value(4), hash_lookup("ATTR_get", hash));
    EXPECT_EQ(nullptr, hash_lookup("SCAN_get", hash));
    EXPECT_EQ(nullptr, hash_lookup("SCAN_getJobList2", hash));
    free_hash(hash);
}

TEST(Hash, SeedSearchKeepsFirstSeedWithoutCollisionsAndFindsEveryName) {
    std::vector<std::string> owned;
    for (int i = 0; i < 300; ++i)
        owned.push_back("kivo_fn_" + std::to_string(i * 7919));
    std::vector<const char*> names;
    std::vector<void*> values;
    for (size_t i = 0; i < owned.size(); ++i) {
        names.push_back(owned[i].c_str());
        values.push_back(value(static_cast<intptr_t>(i + 1)));
    }
    // Two names that the first seed puts in different buckets: no further seed is tried.
    hash_table* two = create_hash(names.data(), values.data(), 2);
    ASSERT_NE(nullptr, two);
    ASSERT_NE(hash_string(names[0], HASH_FIRST_SEED) % 11,
              hash_string(names[1], HASH_FIRST_SEED) % 11);
    EXPECT_EQ(static_cast<uint32_t>(HASH_FIRST_SEED), two->seed);
    free_hash(two);

    hash_table* hash = create_hash(names.data(), values.data(), static_cast<int>(names.size()));
    ASSERT_NE(nullptr, hash);
    EXPECT_EQ(1501u, hash->bucket_count);
    EXPECT_EQ(0u, (hash->seed - static_cast<uint32_t>(HASH_FIRST_SEED)) % HASH_SEED_STEP);
    for (size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(values[i], hash_lookup(names[i], hash)) << names[i];
    EXPECT_EQ(nullptr, hash_lookup("kivo_fn_1", hash));
    free_hash(hash);
}

} // namespace
