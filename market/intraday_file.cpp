// Reading and writing the "tick" files.
#include "market/intraday_file.h"

#include <cstring>
#include <system_error>

#include "common/data_root.h"
#include "common/format.h"
#include "common/text_file.h"

namespace vorelin {
namespace {

void PutLittle(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t GetLittle(const char* p, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint32_t{static_cast<uint8_t>(p[i])} << (8 * i);
  return value;
}

}  // namespace

std::filesystem::path IntradayFilePath(const std::filesystem::path& root, std::string_view code,
                                       int date) {
  return root / kTickFolder / (std::string(code) + std::to_string(date) + ".bin");
}

std::string EncodeMinutePoints(const std::vector<TMinutePoint>& points) {
  std::string out;
  out.reserve(points.size() * kMinutePointSize);
  for (const TMinutePoint& p : points) {
    uint32_t price_bits;
    std::memcpy(&price_bits, &p.price, sizeof price_bits);
    PutLittle(out, p.minute, 2);
    PutLittle(out, price_bits, 4);
    PutLittle(out, static_cast<uint32_t>(p.volume), 4);
  }
  return out;
}

std::vector<TMinutePoint> DecodeMinutePointRecords(std::string_view bytes) {
  std::vector<TMinutePoint> points(bytes.size() / kMinutePointSize);
  for (size_t i = 0; i < points.size(); ++i) {
    const char* p = bytes.data() + i * kMinutePointSize;
    points[i].minute = static_cast<uint16_t>(GetLittle(p, 2));
    uint32_t price_bits = GetLittle(p + 2, 4);
    std::memcpy(&points[i].price, &price_bits, sizeof price_bits);
    points[i].volume = static_cast<int32_t>(GetLittle(p + 6, 4));
  }
  return points;
}

bool ReadIntradayFile(const std::filesystem::path& path, std::vector<TMinutePoint>& points) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  points = DecodeMinutePointRecords(bytes);
  return true;
}

bool WriteIntradayFile(const std::filesystem::path& path, const std::vector<TMinutePoint>& points) {
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  return WriteFileAtomically(path, EncodeMinutePoints(points));
}

std::string MinuteClockText(int index) {
  int minutes = index < 120 ? 9 * 60 + 30 + index : 13 * 60 + (index - 120);
  return Format("%02d%02d", minutes / 60, minutes % 60);
}

}  // namespace vorelin
