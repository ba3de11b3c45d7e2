// iconv does the table work; this file only drives it over whole buffers.
#include "common/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace vorelin {
namespace {

// Converts with iconv; an input byte sequence that does not convert is replaced by
// `replacement` (already in the target encoding) and skipped by `skip` bytes.
std::string Convert(std::string_view in, const char* to, const char* from,
                    std::string_view replacement) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  out.reserve(in.size() * 3 / 2 + 4);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char buffer[4096];
  while (src_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence at the end): replace one byte and go on.
      out.append(replacement);
      ++src;
      --src_left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  bool ascii = true;
  for (unsigned char c : gbk) ascii = ascii && c < 0x80;
  if (ascii) return std::string(gbk);
  return Convert(gbk, "UTF-8", "GB18030", "\xEF\xBF\xBD");
}

std::string Utf8ToGbk(std::string_view utf8) {
  bool ascii = true;
  for (unsigned char c : utf8) ascii = ascii && c < 0x80;
  if (ascii) return std::string(utf8);
  return Convert(utf8, "GB18030", "UTF-8", "?");
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) { ++i; continue; }
    int extra;
    unsigned min;
    unsigned code;
    if ((c & 0xE0) == 0xC0) { extra = 1; min = 0x80; code = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; min = 0x800; code = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; min = 0x10000; code = c & 0x07; }
    else return false;
    if (i + extra >= n) return false;
    for (int k = 1; k <= extra; ++k) {
      unsigned char d = static_cast<unsigned char>(bytes[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::string DecodeFileText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return GbkToUtf8(bytes);
}

}  // namespace vorelin
