// Reading and writing the "tick" files.
#include "market/intraday_file.h"

#include <system_error>

#include "common/byte_order.h"
#include "common/data_root.h"
#include "common/format.h"
#include "common/text_file.h"

namespace vorelin {
std::filesystem::path IntradayFilePath(const std::filesystem::path& root, std::string_view code,
                                       int date) {
  return root / kTickFolder / (std::string(code) + std::to_string(date) + ".bin");
}

std::string EncodeMinutePoints(const std::vector<TMinutePoint>& points) {
  std::string out;
  out.reserve(points.size() * kMinutePointSize);
  for (const TMinutePoint& p : points) {
    PutU16(out, p.minute);
    PutF32(out, p.price);
    PutU32(out, static_cast<uint32_t>(p.volume));
  }
  return out;
}

std::vector<TMinutePoint> DecodeMinutePointRecords(std::string_view bytes) {
  std::vector<TMinutePoint> points(bytes.size() / kMinutePointSize);
  for (size_t i = 0; i < points.size(); ++i) {
    const char* p = bytes.data() + i * kMinutePointSize;
    points[i].minute = GetU16(p);
    points[i].price = GetF32(p + 2);
    points[i].volume = static_cast<int32_t>(GetU32(p + 6));
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
