#include "common/format.h"

#include <locale.h>

#include <cstdarg>
#include <cstdio>

namespace vorelin {
namespace {

locale_t CLocale() {
  static locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c_locale;
}

}  // namespace

std::string Format(const char* format, ...) {
  locale_t previous = uselocale(CLocale());
  char small[256];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string out;
  if (length < 0) {
    out.clear();
  } else if (static_cast<size_t>(length) < sizeof small) {
    out.assign(small, length);
  } else {
    out.resize(length);
    va_start(args, format);
    std::vsnprintf(out.data(), out.size() + 1, format, args);
    va_end(args);
  }
  uselocale(previous);
  return out;
}

}  // namespace vorelin
