// Conversion between the GBK/GB18030 bytes of the system's files and the UTF-8 used in memory.
#pragma once

#include <string>
#include <string_view>

namespace vorelin {

// GB18030 (a superset of GBK) to UTF-8. Bytes that do not decode become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 to GB18030; characters GBK lacks are written in GB18030's four-byte form.
// Invalid UTF-8 bytes become "?".
std::string Utf8ToGbk(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

// The bytes of a text file as UTF-8: a UTF-8 BOM is dropped, valid UTF-8 is kept, anything
// else is read as GBK.
std::string DecodeFileText(std::string_view bytes);

}  // namespace vorelin
