// Any received text decodes to a message without harm, the field count agrees with what was
// decoded, and a decoded message re-encodes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/server_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t fields = 0;
  vorelin::ServerMessage m = vorelin::DecodeServerMessage(text, &fields);
  if (fields < 2 && !(m == vorelin::ServerMessage{})) __builtin_trap();
  if (fields >= 2 && fields < 12 && m.texts[fields - 2] != vorelin::kMissingText) __builtin_trap();
  vorelin::DecodeServerMessage(vorelin::EncodeServerMessage(m));
  return 0;
}
