// Record offsets are bytes into the 1326-byte stock record; values are little-endian floats.
#include "chart/quote_blocks.h"

#include "common/byte_order.h"

namespace vorelin {
namespace {

const char* At(const ChartBlocks& blocks, size_t offset) {
  return reinterpret_cast<const char*>(blocks.stock_record.bytes.data() + offset);
}

float FloatAt(const ChartBlocks& blocks, size_t offset) { return GetF32(At(blocks, offset)); }

uint32_t U32At(const ChartBlocks& blocks, size_t offset) { return GetU32(At(blocks, offset)); }

}  // namespace

void DeriveQuoteBlocks(ChartBlocks& blocks) {
  const float last = FloatAt(blocks, 964);
  if (last != 0) {
    auto& q = blocks.quote;
    const float prev = FloatAt(blocks, 952);
    const float high = FloatAt(blocks, 948);
    const float low = FloatAt(blocks, 956);
    q[3] = prev;
    q[4] = FloatAt(blocks, 960);
    q[5] = high;
    q[6] = low;
    q[7] = last;
    q[8] = FloatAt(blocks, 1017);
    q[9] = FloatAt(blocks, 1013);
    q[12] = last - prev;
    q[13] = low == 0 ? 0 : (high - low) / low;
    q[14] = prev == 0 ? 0 : (last - prev) * 100 / prev;
    q[20] = FloatAt(blocks, 908);
    q[21] = FloatAt(blocks, 972);
    q[22] = FloatAt(blocks, 904);
    q[23] = FloatAt(blocks, 968);
  }
  const uint32_t finance_date = U32At(blocks, 1181);
  const float total = FloatAt(blocks, 1185);
  if (finance_date == 0 || total == 0) return;
  auto F = [&](size_t k) { return FloatAt(blocks, 1162 + k); };
  auto& f = blocks.finance;
  const float t = F(23);
  f[0] = t * 10000;
  f[5] = F(39) * 10000;
  f[7] = F(7) * 10000;
  for (size_t k = 0; k < 7; ++k) f[10 + k] = F(51 + 4 * k) * 1000;
  f[17] = F(79) * 10000;
  f[18] = t == 0 ? 0 : F(79) * 10000 / t;
  for (size_t k = 0; k < 13; ++k) f[19 + k] = F(83 + 4 * k) * 1000;
  f[32] = t == 0 ? 0 : F(131) * 1000 / t;
  f[33] = (t == 0 || F(139) == 0) ? 0 : F(83) / t / 10 / F(139) * 12;
  f[34] = t == 0 ? 0 : F(99) * 1000 / t;
  f[40] = last * f[7];
  f[41] = last * f[0];
  f[42] = static_cast<float>(finance_date);
}

}  // namespace vorelin
