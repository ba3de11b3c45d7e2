// vorelin-demo: the market layer without a chart. Loads one day file, reveals bars into the
// simulated account, buys with the whole position midway and prints the account report.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/data_root.h"
#include "common/format.h"
#include "market/bar_series.h"
#include "market/stock_directory.h"
#include "practice/account.h"

namespace {

class PrintedMessages : public vorelin::MessageSink {
 public:
  void Show(const std::string& text) override { std::printf("%s\n", text.c_str()); }
  bool Ask(const std::string&) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  std::string code = "600001";
  int bars = 20;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--code") == 0) code = argv[++i];
    else if (std::strcmp(argv[i], "--bars") == 0) bars = std::atoi(argv[++i]);
  }
  if (!vorelin::IsSafeStockCode(code)) {
    std::fprintf(stderr, "%s\n", vorelin::UnsafeStockCodeMessage(code).c_str());
    return 1;
  }
  const std::filesystem::path root = vorelin::ResolveDataRoot(vorelin::FindRootOption(argc, argv));
  PrintedMessages messages;
  vorelin::Tstock stock(&messages);
  stock.FileName = (root / vorelin::kDayDataFolder / (code + ".TXT")).string();
  std::string error;
  if (!stock.LoadBars(&error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  vorelin::StockDirectory directory;
  directory.Load(root / "winbase.dat");
  vorelin::TGpAcount account(10000);
  account.StockCode = code;
  if (const vorelin::TStockDirEntry* entry = directory.FindByCode(code))
    account.StockName = entry->Name();
  account.BuyRate = 0.0003;
  account.SellRate = 0.0013;
  std::printf("%s %s: %d bars\n", code.c_str(), account.StockName.c_str(), stock.BarCount);
  for (int i = 0; i < bars && !stock.IsAtEnd(); ++i) {
    vorelin::TBarRecord bar = stock.NextBar();
    account.Mark(bar.close);
    std::printf("%s close %s\n", bar.date.c_str(), vorelin::Format("%.2f", bar.close).c_str());
    if (i == bars / 2) {
      double qty = account.BuyChoiceQuantity("全仓");
      std::printf("买入 %s: %s\n", vorelin::Format("%.0f", qty).c_str(),
                  account.Buy(account.Price, qty) ? "买入成功！" : account.LastMessage.c_str());
    }
  }
  std::printf("%s\n", account.GetReport().c_str());
  return 0;
}
