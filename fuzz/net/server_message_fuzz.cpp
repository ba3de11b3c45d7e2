// Any received text decodes to a message without harm, and a decoded message re-encodes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/server_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  vorelin::ServerMessage m = vorelin::DecodeServerMessage(text);
  vorelin::DecodeServerMessage(vorelin::EncodeServerMessage(m));
  return 0;
}
