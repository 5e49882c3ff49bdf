// Twofish keystream speed: our per-connection stream (keystream XOR as payloads and the
// transport take it, and the bare 256-byte refills) next to libgcrypt's Twofish-256 doing the
// same work in the same run (CTR mode: keystream and XOR; ECB: bare blocks). libgcrypt is compared
// only where it is built in (the native Linux build, KIVO_BENCH_GCRYPT). Prints, asserts nothing.
#include "fish.h"
#include "twofish.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef KIVO_BENCH_GCRYPT
#include <gcrypt.h>
#endif

namespace {

constexpr size_t kBytes = 32u << 20;
constexpr int kRuns = 3;

template <typename F> double bestMiBPerSecond(size_t bytes, F&& work) {
    double best = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const double rate = static_cast<double>(bytes) / (1 << 20) / took.count();
        if (rate > best)
            best = rate;
    }
    return best;
}

void report(const char* what, double mibs) {
    std::printf("  %-44s %9.1f MiB/s\n", what, mibs);
}

} // namespace

int main() {
    std::vector<unsigned char> buffer(kBytes, 0x5A);
    fish_state* stream = nullptr;
    if (quorvel_server_fish_init(&stream, 0x5B3E8D21) != 0)
        return 1;
    std::printf("Twofish-256 keystream over %zu MiB, best of %d runs\n", kBytes >> 20, kRuns);
    const double ours = bestMiBPerSecond(
        kBytes, [&] { fish_crypt(stream, buffer.data(), static_cast<long>(buffer.size())); });
    report("kivo stream: keystream XOR", ours);
    const double refills = bestMiBPerSecond(kBytes, [&] {
        for (size_t done = 0; done < kBytes; done += FISH_BUFFER_BYTES)
            quorvel_server_fish_crypt_buffer(stream);
    });
    report("kivo stream: 256-byte refills only", refills);
    quorvel_server_fish_free(stream);

#ifdef KIVO_BENCH_GCRYPT
    if (!gcry_check_version(GCRYPT_VERSION))
        return 1;
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    unsigned char key[32];
    for (int i = 0; i < 32; ++i)
        key[i] = static_cast<unsigned char>(i * 7 + 1);
    gcry_cipher_hd_t ctr = nullptr, ecb = nullptr;
    gcry_cipher_open(&ctr, GCRY_CIPHER_TWOFISH, GCRY_CIPHER_MODE_CTR, 0);
    gcry_cipher_open(&ecb, GCRY_CIPHER_TWOFISH, GCRY_CIPHER_MODE_ECB, 0);
    gcry_cipher_setkey(ctr, key, sizeof key);
    gcry_cipher_setkey(ecb, key, sizeof key);
    unsigned char counter[16] = {};
    gcry_cipher_setctr(ctr, counter, sizeof counter);

    // Both implementations must agree before their speeds mean anything.
    kivo::TwofishKey ours256;
    kivo::twofishSetKey(ours256, key, sizeof key);
    unsigned char block[16] = {1, 2, 3}, a[16], b[16];
    kivo::twofishEncryptBlock(ours256, block, a);
    gcry_cipher_encrypt(ecb, b, sizeof b, block, sizeof block);
    std::printf("  block outputs agree with libgcrypt %s: %s\n", gcry_check_version(nullptr),
                std::memcmp(a, b, 16) == 0 ? "yes" : "NO");

    const double gcryCtr = bestMiBPerSecond(
        kBytes, [&] { gcry_cipher_encrypt(ctr, buffer.data(), buffer.size(), nullptr, 0); });
    report("libgcrypt Twofish-256 CTR (keystream XOR)", gcryCtr);
    const double gcryEcb = bestMiBPerSecond(
        kBytes, [&] { gcry_cipher_encrypt(ecb, buffer.data(), buffer.size(), nullptr, 0); });
    report("libgcrypt Twofish-256 ECB (bare blocks)", gcryEcb);
    std::printf("  ratio kivo stream / libgcrypt CTR: %.2f; refills / ECB: %.2f\n", ours / gcryCtr,
                refills / gcryEcb);
    gcry_cipher_close(ctr);
    gcry_cipher_close(ecb);
#endif
    return 0;
}
