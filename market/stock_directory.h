// The stock directory `winbase.dat`: 1326-byte records giving each code its name and market.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

inline constexpr size_t kStockDirEntrySize = 1326;
inline constexpr size_t kStockDirCapacity = 9001;

// One record, carried byte for byte; the accessors read the fields the program uses.
struct TStockDirEntry {
  std::array<uint8_t, kStockDirEntrySize> bytes{};

  std::string Code() const;   // up to 6 ASCII characters, ended by a zero byte
  std::string Name() const;   // 8 GBK bytes, space/zero padding removed, as UTF-8
  uint8_t Market() const { return bytes[898]; }    // 0 = Shenzhen, 1 = Shanghai
  uint8_t Category() const { return bytes[899]; }

  void SetCode(std::string_view code);
  void SetName(std::string_view utf8_name);  // cut to 8 GBK bytes on a character boundary
  void SetMarket(uint8_t market) { bytes[898] = market; }
  void SetCategory(uint8_t category) { bytes[899] = category; }
};

class StockDirectory {
 public:
  // Reads the file: a count above 9001 reads the first 9001 records, a truncated file reads
  // the whole records present. False (and the directory empty) when the file is missing or
  // shorter than its 8-byte header.
  bool Load(const std::filesystem::path& path);
  // Parses the bytes of a `winbase.dat` as Load does.
  bool LoadBytes(std::string_view bytes);
  // Writes the directory; false when the file cannot be written.
  bool Save(const std::filesystem::path& path) const;

  // First record whose code equals `code` and whose market byte is below 5, or null.
  const TStockDirEntry* FindByCode(std::string_view code) const;
  // Adds a record, or replaces the one with the same code and market. False when full.
  bool Upsert(const TStockDirEntry& entry);

  const std::vector<TStockDirEntry>& Entries() const { return entries_; }

 private:
  std::vector<TStockDirEntry> entries_;
};

}  // namespace vorelin
