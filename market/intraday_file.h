// Intraday files: one day's minute points of one stock under "tick", 10-byte little-endian
// records without a header.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/intraday_records.h"

namespace vorelin {

inline constexpr size_t kMinutePointSize = 10;

// root/tick/<code><YYYYMMDD>.bin
std::filesystem::path IntradayFilePath(const std::filesystem::path& root, std::string_view code,
                                       int date);

std::string EncodeMinutePoints(const std::vector<TMinutePoint>& points);
// size / 10 whole records; a shorter rest is ignored.
std::vector<TMinutePoint> DecodeMinutePointRecords(std::string_view bytes);

// False (points unchanged) when the file cannot be read.
bool ReadIntradayFile(const std::filesystem::path& path, std::vector<TMinutePoint>& points);
// Replaces the file (creating its folder); false when it cannot be written.
bool WriteIntradayFile(const std::filesystem::path& path, const std::vector<TMinutePoint>& points);

// Clock time of a minute index as "hhmm": 09:30 + i for the morning's 120 minutes, then
// 13:00 + (i - 120).
std::string MinuteClockText(int index);

}  // namespace vorelin
