#include <gtest/gtest.h>

#include <set>

#include "common/base64.h"
#include "common/guid.h"

namespace vorelin {
namespace {

TEST(Base64, Rfc4648Vectors) {
  struct Case { const char* plain; const char* encoded; };
  const Case cases[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},
                        {"foo", "Zm9v"},  {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
                        {"foobar", "Zm9vYmFy"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plain);
    EXPECT_EQ(Base64Encode(c.plain), c.encoded);
    std::string back;
    ASSERT_TRUE(Base64Decode(c.encoded, back));
    EXPECT_EQ(back, c.plain);
  }
  std::string binary("\x00\xff\xfe~", 4);
  std::string back;
  ASSERT_TRUE(Base64Decode(Base64Encode(binary), back));
  EXPECT_EQ(back, binary);
}

TEST(Base64, StrictDecodingRefusesBadInput) {
  std::string out = "kept";
  for (const char* bad : {"Zg=", "Z===", "Zg==Zg==", "Zm9*", "=Zm9"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Base64Decode(bad, out));
    EXPECT_EQ(out, "kept");
  }
}

TEST(Guid, TextFormAndRowIdentifier) {
  std::string g = NewGuidText();
  ASSERT_EQ(g.size(), 38u);
  EXPECT_EQ(g.front(), '{');
  EXPECT_EQ(g.back(), '}');
  for (size_t dash : {9u, 14u, 19u, 24u}) EXPECT_EQ(g[dash], '-');
  std::string row = RowGuid();
  EXPECT_EQ(row.size(), 31u);
  EXPECT_EQ(row[8], '-');
  EXPECT_EQ(row.find('{'), std::string::npos);
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) seen.insert(RowGuid());
  EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace vorelin
