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

// A code the directory can hold as it is: 1 to 6 ASCII letters or digits. A longer code
// would be cut to the code of another stock.
bool IsDirectoryCode(std::string_view code);
// "股票代码不合法：" + code + "（代码表中的代码须为1到6位字母或数字）".
std::string DirectoryCodeMessage(std::string_view code);

// One record, carried byte for byte; the accessors read the fields the program uses.
struct TStockDirEntry {
  std::array<uint8_t, kStockDirEntrySize> bytes{};

  std::string Code() const;   // up to 6 ASCII characters, ended by a zero byte
  std::string Name() const;   // 8 GBK bytes, space/zero padding removed, as UTF-8
  uint8_t Market() const { return bytes[898]; }    // 0 = Shenzhen, 1 = Shanghai
  uint8_t Category() const { return bytes[899]; }

  // False (the record unchanged) unless IsDirectoryCode(code): a code is never cut.
  bool SetCode(std::string_view code);
  void SetName(std::string_view utf8_name);  // cut to 8 GBK bytes on a character boundary
  void SetMarket(uint8_t market) { bytes[898] = market; }
  void SetCategory(uint8_t category) { bytes[899] = category; }
};

class StockDirectory {
 public:
  // Reads the file: a count above 9001 reads the first 9001 records, a truncated file reads
  // the whole records present. False (and the directory empty) when the file is missing, no
  // readable regular file (`error` then names it) or shorter than its 8-byte header.
  bool Load(const std::filesystem::path& path, std::string* error = nullptr);
  // Parses the bytes of a `winbase.dat` as Load does.
  bool LoadBytes(std::string_view bytes);
  // The bytes of the file Save writes.
  std::string Bytes() const;
  // Writes the directory whole or not at all; false when the file cannot be written.
  bool Save(const std::filesystem::path& path) const;

  // First record whose code equals `code` and whose market byte is below 5, or null.
  const TStockDirEntry* FindByCode(std::string_view code) const;
  // Adds a record, or replaces the one with the same code and market. False (nothing
  // changed, `error` saying why) when the record's code is no directory code or the
  // directory is full.
  bool Upsert(const TStockDirEntry& entry, std::string* error = nullptr);

  const std::vector<TStockDirEntry>& Entries() const { return entries_; }

 private:
  std::vector<TStockDirEntry> entries_;
};

}  // namespace vorelin
