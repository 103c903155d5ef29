// SHA-256 (FIPS 180-4), for the provenance of a run's input.
#include "sha256.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "files/io_error.h"

namespace zentrova {

namespace {

constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

inline std::uint32_t rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

struct Sha256 {
  std::uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::uint8_t block[64];
  std::size_t used = 0;
  std::uint64_t bytes = 0;

  void compress() {
    std::uint32_t w[64];
    for (int t = 0; t < 16; ++t)
      w[t] = std::uint32_t(block[4 * t]) << 24 | std::uint32_t(block[4 * t + 1]) << 16 |
             std::uint32_t(block[4 * t + 2]) << 8 | block[4 * t + 3];
    for (int t = 16; t < 64; ++t) {
      const std::uint32_t s0 = rotr(w[t - 15], 7) ^ rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
      const std::uint32_t s1 = rotr(w[t - 2], 17) ^ rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
      w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], k = h[7];
    for (int t = 0; t < 64; ++t) {
      const std::uint32_t t1 = k + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[t] + w[t];
      const std::uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
      k = g, g = f, f = e, e = d + t1, d = c, c = b, b = a, a = t1 + t2;
    }
    h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e, h[5] += f, h[6] += g, h[7] += k;
  }

  void add(const std::uint8_t* p, std::size_t n) {
    bytes += n;
    while (n > 0) {
      const std::size_t take = std::min(n, sizeof block - used);
      std::memcpy(block + used, p, take);
      used += take, p += take, n -= take;
      if (used == sizeof block) compress(), used = 0;
    }
  }

  std::string hex() {
    const std::uint64_t bits = bytes * 8;
    const std::uint8_t one = 0x80, zero = 0;
    add(&one, 1);
    while (used != 56) add(&zero, 1);
    for (int s = 56; s >= 0; s -= 8) {
      const std::uint8_t b = std::uint8_t(bits >> s);
      add(&b, 1);
    }
    std::string out;
    char buf[9];
    for (std::uint32_t v : h) std::snprintf(buf, sizeof buf, "%08x", v), out += buf;
    return out;
  }
};

}  // namespace

std::string sha256OfFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throwIo(errno);
  Sha256 sum;
  std::uint8_t buf[1 << 16];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) sum.add(buf, n);
  const bool failed = std::ferror(f) != 0;
  const int err = errno;
  std::fclose(f);
  if (failed) throwIo(err ? err : EIO);
  return sum.hex();
}

}  // namespace zentrova
