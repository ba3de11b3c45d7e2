// Listing files by a mask such as "*.txt", optionally through subfolders.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace vorelin {

// True when `name` matches `mask` ("*" any run, "?" one character), ignoring ASCII case
// as the data folders' masks expect ("*.txt" matches "600000.TXT").
bool MatchesMask(std::string_view name, std::string_view mask);

// Regular files under `folder` whose names match `mask`, sorted by path. A missing folder
// gives an empty list.
std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder,
                                             std::string_view mask, bool include_subfolders);

}  // namespace vorelin
