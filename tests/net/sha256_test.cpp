// SHA-256 against the FIPS 180-2 example messages.
#include <gtest/gtest.h>

#include "net/sha256.h"

namespace vorelin {
namespace {

TEST(Sha256, FipsVectors) {
  struct Case { const char* name; std::string message; const char* digest; };
  const Case cases[] = {
      {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"448 bits", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"million a", std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Sha256::Hex(Sha256::Of(c.message)), c.digest);
  }
}

TEST(Sha256, PiecewiseUpdateEqualsOneShot) {
  std::string message(200, 'q');
  for (size_t i = 0; i < message.size(); ++i) message[i] = static_cast<char>(i * 37);
  for (size_t split : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 199u}) {
    SCOPED_TRACE(split);
    Sha256 hash;
    hash.Update(std::string_view(message).substr(0, split));
    hash.Update(std::string_view(message).substr(split));
    EXPECT_EQ(hash.Finish(), Sha256::Of(message));
  }
}

}  // namespace
}  // namespace vorelin
