#include "market/stock_directory.h"

#include <algorithm>
#include <cstring>

#include "common/byte_order.h"
#include "common/text_encoding.h"
#include "common/text_file.h"

namespace vorelin {
namespace {

constexpr size_t kCodeOffset = 4;
constexpr size_t kCodeSize = 6;
constexpr size_t kNameOffset = 12;
constexpr size_t kNameSize = 8;
constexpr size_t kHeaderSize = 8;

}  // namespace

bool IsDirectoryCode(std::string_view code) {
  if (code.empty() || code.size() > kCodeSize) return false;
  for (char c : code) {
    const bool digit = c >= '0' && c <= '9';
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!digit && !letter) return false;
  }
  return true;
}

std::string DirectoryCodeMessage(std::string_view code) {
  return "股票代码不合法：" + std::string(code) + "（代码表中的代码须为1到6位字母或数字）";
}

std::string TStockDirEntry::Code() const {
  std::string code;
  for (size_t i = 0; i < kCodeSize && bytes[kCodeOffset + i] != 0; ++i)
    code += static_cast<char>(bytes[kCodeOffset + i]);
  return code;
}

std::string TStockDirEntry::Name() const {
  std::string raw(reinterpret_cast<const char*>(&bytes[kNameOffset]), kNameSize);
  size_t end = raw.find('\0');
  if (end != std::string::npos) raw.resize(end);
  while (!raw.empty() && raw.back() == ' ') raw.pop_back();
  return GbkToUtf8(raw);
}

bool TStockDirEntry::SetCode(std::string_view code) {
  if (!IsDirectoryCode(code)) return false;
  std::memset(&bytes[kCodeOffset], 0, kCodeSize);
  std::memcpy(&bytes[kCodeOffset], code.data(), code.size());
  return true;
}

void TStockDirEntry::SetName(std::string_view utf8_name) {
  std::string gbk = Utf8ToGbk(utf8_name);
  // Keep whole characters: a lead byte (>= 0x81) starts a two- or four-byte character.
  size_t keep = 0;
  while (keep < gbk.size()) {
    unsigned char c = static_cast<unsigned char>(gbk[keep]);
    size_t width = c < 0x80 ? 1
                   : (keep + 1 < gbk.size() && static_cast<unsigned char>(gbk[keep + 1]) >= 0x30 &&
                      static_cast<unsigned char>(gbk[keep + 1]) <= 0x39)
                       ? 4
                       : 2;
    if (keep + width > kNameSize) break;
    keep += width;
  }
  std::memset(&bytes[kNameOffset], ' ', kNameSize);
  std::memcpy(&bytes[kNameOffset], gbk.data(), std::min(keep, gbk.size()));
}

bool StockDirectory::Load(const std::filesystem::path& path, std::string* error) {
  std::string data;
  if (!ReadFileBytes(path, data, error)) {
    entries_.clear();
    return false;
  }
  return LoadBytes(data);
}

bool StockDirectory::LoadBytes(std::string_view data) {
  entries_.clear();
  if (data.size() < kHeaderSize) return false;
  uint32_t count = GetU32(data.data() + 4);
  size_t present = (data.size() - kHeaderSize) / kStockDirEntrySize;
  size_t n = std::min<size_t>(std::min<size_t>(count, present), kStockDirCapacity);
  entries_.resize(n);
  for (size_t i = 0; i < n; ++i)
    std::memcpy(entries_[i].bytes.data(), data.data() + kHeaderSize + i * kStockDirEntrySize,
                kStockDirEntrySize);
  return true;
}

std::string StockDirectory::Bytes() const {
  std::string out;
  out.reserve(kHeaderSize + entries_.size() * kStockDirEntrySize);
  PutU32(out, 0);
  PutU32(out, static_cast<uint32_t>(entries_.size()));
  for (const TStockDirEntry& e : entries_)
    out.append(reinterpret_cast<const char*>(e.bytes.data()), kStockDirEntrySize);
  return out;
}

bool StockDirectory::Save(const std::filesystem::path& path) const {
  return WriteFileAtomically(path, Bytes());
}

const TStockDirEntry* StockDirectory::FindByCode(std::string_view code) const {
  for (const TStockDirEntry& e : entries_)
    if (e.Market() < 5 && e.Code() == code) return &e;
  return nullptr;
}

bool StockDirectory::Upsert(const TStockDirEntry& entry, std::string* error) {
  if (!IsDirectoryCode(entry.Code())) {
    if (error) *error = DirectoryCodeMessage(entry.Code());
    return false;
  }
  for (TStockDirEntry& e : entries_) {
    if (e.Code() == entry.Code() && e.Market() == entry.Market()) {
      e = entry;
      return true;
    }
  }
  if (entries_.size() >= kStockDirCapacity) {
    if (error) *error = "股票代码表已满（最多9001只股票）";
    return false;
  }
  entries_.push_back(entry);
  return true;
}

}  // namespace vorelin
