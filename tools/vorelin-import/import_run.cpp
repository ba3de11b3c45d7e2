#include "import_run.h"

#include <system_error>

#include "common/data_root.h"
#include "common/text_encoding.h"
#include "common/text_file.h"
#include "market/csv_import.h"
#include "market/stock_directory.h"

namespace vorelin {
namespace {

// The directory as it is on disk: a missing file is an empty directory, anything else that
// cannot be read stops the import (it would be replaced by a directory of one stock).
bool ReadDirectory(const std::filesystem::path& path, StockDirectory& directory,
                   std::string& error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return true;
  std::string bytes;
  if (!ReadFileBytes(path, bytes, &error)) return false;
  directory.LoadBytes(bytes);
  return true;
}

}  // namespace

bool RunImport(const ImportRequest& request, ImportReport& report, std::string& error) {
  if (!IsDirectoryCode(request.code)) {
    error = DirectoryCodeMessage(request.code);
    return false;
  }
  std::string bytes;
  if (!ReadFileBytes(request.csv, bytes, &error)) return false;
  CsvImport imported;
  if (!ImportCsv(DecodeFileText(bytes), imported, error)) {
    error = request.csv.string() + ": " + error;
    return false;
  }
  if (imported.lines.empty()) {
    error = request.csv.string() + ": no bars after the header";
    return false;
  }

  const std::filesystem::path winbase = request.root / "winbase.dat";
  StockDirectory directory;
  if (!ReadDirectory(winbase, directory, error)) return false;
  const uint8_t market = request.market.value_or(request.code[0] == '6' ? 1 : 0);
  TStockDirEntry entry;
  if (const TStockDirEntry* existing = directory.FindByCode(request.code);
      existing && existing->Market() == market)
    entry = *existing;
  entry.SetCode(request.code);
  entry.SetMarket(market);
  if (!request.name.empty() || entry.Name().empty())
    entry.SetName(request.name.empty() ? request.code : request.name);
  if (!directory.Upsert(entry, &error)) return false;

  const std::filesystem::path folder =
      request.root / (imported.minute ? kMinDataFolder : kDayDataFolder);
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) {
    error = "无法创建文件夹：" + folder.string();
    return false;
  }
  std::string text;
  for (const std::string& line : imported.lines) text += line + "\r\n";
  const std::filesystem::path target = folder / (request.code + ".TXT");
  if (!WriteFilesAtomically({{target, std::move(text)}, {winbase, directory.Bytes()}}, &error))
    return false;
  report.bars = imported.lines.size();
  report.minute = imported.minute;
  report.target = target;
  report.notes = std::move(imported.notes);
  return true;
}

}  // namespace vorelin
