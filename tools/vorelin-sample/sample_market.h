// A deterministic sample market: day and minute files of made-up stocks with a matching
// stock directory, so the trainer can be tried at once and tests have realistic data.
#pragma once

#include <filesystem>
#include <string>

namespace vorelin {

// Writes DayData/, MinData/, winbase.dat and the index files 399001.bin (Shenzhen) and
// 999999.bin (Shanghai) into `root` (created if missing). False with
// `error` set when a file cannot be written.
bool WriteSampleMarket(const std::filesystem::path& root, std::string& error);

}  // namespace vorelin
