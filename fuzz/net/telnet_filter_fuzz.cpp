// Telnet negotiation from an untrusted server, fed in chunks of varying size.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/telnet_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  vorelin::TelnetFilter filter;
  size_t chunk = data[0] % 16 + 1;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  while (!rest.empty()) {
    size_t take = rest.size() < chunk ? rest.size() : chunk;
    vorelin::TelnetFilter::Result r = filter.Feed(rest.substr(0, take));
    if (r.data.size() > take) __builtin_trap();  // data never grows
    rest.remove_prefix(take);
  }
  return 0;
}
