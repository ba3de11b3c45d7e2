// SHA-256 (FIPS 180-2), used by the reference login server to store salted password hashes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorelin {

class Sha256 {
 public:
  using Digest = std::array<uint8_t, 32>;

  Sha256();
  void Update(std::string_view bytes);
  Digest Finish();  // the object must not be updated afterwards

  static Digest Of(std::string_view bytes);
  static std::string Hex(const Digest& digest);

 private:
  void Compress(const uint8_t* block);

  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> buffer_{};
  size_t buffered_ = 0;
  uint64_t total_bytes_ = 0;
};

}  // namespace vorelin
