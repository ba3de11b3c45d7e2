#include "common/file_listing.h"

#include <algorithm>
#include <system_error>

namespace vorelin {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Iterative glob with one backtrack point: linear enough for file names.
  size_t n = 0, m = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || Lower(mask[m]) == Lower(name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      star = m++;
      mark = n;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder,
                                             std::string_view mask, bool include_subfolders) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  auto consider = [&](const std::filesystem::directory_entry& entry) {
    std::error_code type_ec;
    if (entry.is_regular_file(type_ec) && MatchesMask(entry.path().filename().string(), mask))
      files.push_back(entry.path());
  };
  if (include_subfolders) {
    for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec))
      consider(*it);
  } else {
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec))
      consider(*it);
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace vorelin
