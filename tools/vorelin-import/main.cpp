// vorelin-import --root DIR --code CODE [--name NAME] [--market 0|1] FILE.csv
// Converts a CSV price file into DayData/CODE.TXT or MinData/CODE.TXT and records the stock
// in winbase.dat.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/data_root.h"
#include "common/text_encoding.h"
#include "common/text_file.h"
#include "market/csv_import.h"
#include "market/stock_directory.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vorelin-import [--root DIR] --code CODE [--name NAME] [--market 0|1] FILE.csv\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string code, name, market_text, file;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string ignored;
    if (arg == "--code") { if (!value(code)) return Usage(); }
    else if (arg == "--name") { if (!value(name)) return Usage(); }
    else if (arg == "--market") { if (!value(market_text)) return Usage(); }
    else if (arg == "--root") { if (!value(ignored)) return Usage(); }
    else if (arg.rfind("--", 0) == 0) return Usage();
    else file = arg;
  }
  if (code.empty() || file.empty()) return Usage();
  if (!vorelin::IsSafeStockCode(code)) {
    std::fprintf(stderr, "vorelin-import: %s\n", vorelin::UnsafeStockCodeMessage(code).c_str());
    return 1;
  }
  if (!market_text.empty() && market_text != "0" && market_text != "1") {
    std::fprintf(stderr, "vorelin-import: --market must be 0 (Shenzhen) or 1 (Shanghai)\n");
    return 2;
  }
  std::string bytes;
  if (!vorelin::ReadFileBytes(file, bytes)) {
    std::fprintf(stderr, "vorelin-import: cannot read %s\n", file.c_str());
    return 1;
  }
  vorelin::CsvImport imported;
  std::string error;
  if (!vorelin::ImportCsv(vorelin::DecodeFileText(bytes), imported, error)) {
    std::fprintf(stderr, "vorelin-import: %s: %s\n", file.c_str(), error.c_str());
    return 1;
  }
  if (imported.lines.empty()) {
    std::fprintf(stderr, "vorelin-import: %s: no bars after the header\n", file.c_str());
    return 1;
  }
  const std::filesystem::path root = vorelin::ResolveDataRoot(vorelin::FindRootOption(argc, argv));
  const char* folder = imported.minute ? vorelin::kMinDataFolder : vorelin::kDayDataFolder;
  std::error_code ec;
  std::filesystem::create_directories(root / folder, ec);
  std::string text;
  for (const std::string& line : imported.lines) text += line + "\r\n";
  const std::filesystem::path target = root / folder / (code + ".TXT");
  if (!vorelin::WriteFileAtomically(target, text)) {
    std::fprintf(stderr, "vorelin-import: cannot write %s\n", target.string().c_str());
    return 1;
  }
  vorelin::StockDirectory directory;
  directory.Load(root / "winbase.dat");
  const uint8_t market = market_text.empty() ? (code[0] == '6' ? 1 : 0) : market_text == "1";
  vorelin::TStockDirEntry entry;
  if (const vorelin::TStockDirEntry* existing = directory.FindByCode(code); existing && existing->Market() == market)
    entry = *existing;
  entry.SetCode(code);
  entry.SetMarket(market);
  if (!name.empty() || entry.Name().empty()) entry.SetName(name.empty() ? code : name);
  if (!directory.Upsert(entry) || !directory.Save(root / "winbase.dat")) {
    std::fprintf(stderr, "vorelin-import: cannot update %s\n", (root / "winbase.dat").string().c_str());
    return 1;
  }
  std::printf("%zu %s bars written to %s\n", imported.lines.size(), imported.minute ? "minute" : "day",
              target.string().c_str());
  return 0;
}
