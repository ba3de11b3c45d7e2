#include "common/text_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/text_encoding.h"

namespace vorelin {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::error_code ec;
  auto size = std::filesystem::file_size(path, ec);
  std::string data;
  if (!ec) data.reserve(size);
  // libstdc++ throws from the stream buffer on a read error (a folder, say), whatever the
  // stream's exception mask.
  try {
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    return false;
  }
  if (in.bad()) return false;
  bytes.swap(data);
  return true;
}

bool ReadTextLines(const std::filesystem::path& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  lines = SplitLines(DecodeFileText(bytes));
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

bool WriteGbkText(const std::filesystem::path& path, std::string_view text) {
  return WriteFileAtomically(path, Utf8ToGbk(text));
}

}  // namespace vorelin
