// The quote receiver against the reference quote server over loopback: a day's minute data
// and two pages of transactions land in the intraday view and its files, the second opening
// of a day is read from disk, and a server that dies or lies ends or drops without harm.
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "common/format.h"
#include "common/text_file.h"
#include "loop_invoker.h"
#include "market/intraday_file.h"
#include "market/intraday_view.h"
#include "net/quote_receiver.h"
#include "net/socket_util.h"
#include "server_process.h"
#include "temp_folder.h"
#include "test_clients.h"

namespace vorelin {
namespace {

// A tiny data root: 240 minute bars on 2024-01-05, three on 2024-01-04.
void WriteDataRoot(const std::filesystem::path& root) {
  std::string text;
  for (int k = 0; k < 3; ++k)
    text += Format("20240104,%04d,9.00,9.10,8.90,9.0%d,1000,%d\r\n", 931 + k, k, 100 + k);
  for (int k = 0; k < 240; ++k) {
    int clock = k < 120 ? 9 * 60 + 31 + k : 13 * 60 + 1 + (k - 120);
    text += Format("20240105,%02d%02d,10.00,10.50,9.50,%.2f,50000,%d\r\n", clock / 60, clock % 60,
                   10.0 + (k % 40) * 0.01, 1000 + k);
  }
  std::filesystem::create_directories(root / "MinData");
  ASSERT_TRUE(WriteFileAtomically(root / "MinData" / "600000.TXT", text));
}

// The main window's part: its view host forwards requests to the receiver.
class WindowHost : public IntradayHost {
 public:
  void EnsureQuoteReceiver() override {}
  void RequestMinuteData(const TStockDirEntry& s, int date) override {
    ++requests;
    if (receiver) receiver->AddRequest({MinuteDataRequest(date, s.Market(), s.Code()), 0});
  }
  void RequestTransactions(const TStockDirEntry& s, int date, int start) override {
    ++requests;
    if (receiver)
      receiver->AddRequest({TransactionsRequest(date, s.Market(), s.Code(),
                                                static_cast<uint16_t>(start), kTransactionPageSize),
                            0});
  }
  void SetCaption(const std::string&) override {}
  void ShowMessage(const std::string& t) override { messages.push_back(t); }
  void SetTickTimer(bool, int) override {}
  void ClearData() override {}
  void SetFsAll(bool) override {}
  void SetFsFull(bool) override {}
  void SetPrevClose(double) override {}
  void AppendTick(int, double, double, double) override {}
  void ResetIntradayFormulaData() override {}
  void MarkAccount(double) override {}
  void SetPankouLines(const std::vector<std::string>&) override {}
  void SetTransactionLines(const std::vector<std::string>& l) override { lines = l.size(); }
  void SetDayTrades(const std::vector<TTradeTick>&) override {}
  void UpdateDisplay() override {}

  std::shared_ptr<TRecvData> receiver;
  int requests = 0;
  size_t lines = 0;
  std::vector<std::string> messages;
};

struct QuoteFixture : ::testing::Test {
  void SetUp() override {
    WriteDataRoot(data.Path());
    ASSERT_TRUE(server.Start("vorelin-quote-server", {"--root", data.Path().string()}));
    stock.SetCode("600000");
    stock.SetName("浦发银行");
    stock.SetMarket(1);
    base.LoadLines({"20240104,9,9.1,8.9,9.02,1,1", "20240105,10,10.5,9.5,10.1,1,1"});
    base.CurrentRow = 1;
  }
  void TearDown() override {
    if (receiver) {
      receiver->Detach();
      receiver->Stop();
      invoker->Pump([&] { return receiver->WaitUntilEnded(0); }, 5000);
    }
    invoker->Close();
  }
  std::shared_ptr<TRecvData> StartReceiver(int port) {
    QuoteServerAddress address;
    address.port = port;
    receiver = TRecvData::Create(
        address, invoker,
        [this](const QuoteAnswer& a) {
          ++answers;
          if (!a.minutes.empty()) view.OnMinuteAnswer(a.minutes);
          if (!a.ticks.empty()) view.OnTransactionsAnswer(a.ticks, 20240105, base);
        },
        [this](ReceiverEnd reason) { ends.push_back(reason); });
    host.receiver = receiver;
    receiver->Start();
    return receiver;
  }
  bool PumpUntil(const std::function<bool()>& until, int timeout_ms = 10000) {
    return invoker->Pump(until, timeout_ms);
  }

  TempFolder data;
  TempFolder program;  // the trainer's own data root
  ServerProcess server;
  std::shared_ptr<LoopInvoker> invoker = std::make_shared<LoopInvoker>();
  WindowHost host;
  IntradayView view{program.Path(), host};
  TStockDirEntry stock;
  Tstock base;
  std::shared_ptr<TRecvData> receiver;
  int answers = 0;
  std::vector<ReceiverEnd> ends;
  std::string error;
};

TEST_F(QuoteFixture, DayMinutesAndTwoPagesOfTransactionsThenTheCachedDay) {
  StartReceiver(server.Port());
  ASSERT_TRUE(PumpUntil([&] { return receiver->IsConnected(); }));
  view.SetReferenceHigh(10.39);
  ASSERT_TRUE(view.Open(20240105, &stock, "1", error));
  ASSERT_TRUE(PumpUntil([&] { return view.Points().size() == 240; }));
  EXPECT_FLOAT_EQ(view.Points()[0].price, 10.00f);
  EXPECT_FLOAT_EQ(view.Points()[39].price, 10.39f);
  EXPECT_EQ(view.Points()[239].volume, 1239);
  EXPECT_NEAR(view.IntradayFactor(), 1.0, 1e-6);
  std::vector<TMinutePoint> on_disk;
  ASSERT_TRUE(ReadIntradayFile(program.Path() / "tick" / "60000020240105.bin", on_disk));
  EXPECT_EQ(on_disk, view.Points());

  view.RequestDayTransactions(stock, 20240105);
  ASSERT_TRUE(PumpUntil([&] { return view.Transactions().TradeCount() == 2400; }));
  EXPECT_EQ(host.requests, 3);  // minutes, page 1, page 2
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(program.Path() / "fenbi" / "600000 20240105.txt", lines));
  ASSERT_EQ(lines.size(), 2401u);
  EXPECT_EQ(lines[0], "2024年1月05日 星期五");
  EXPECT_EQ(lines[1].substr(0, 5), " 0925");  // the day's first minute, stamped 570
  EXPECT_EQ(lines[2400].substr(0, 5), " 1459");

  view.Open(20240104, &stock, "1", error);  // a small day: an uncompressed answer
  ASSERT_TRUE(PumpUntil([&] { return view.Points().size() == 3; }));
  EXPECT_FLOAT_EQ(view.Points()[2].price, 9.02f);

  int before = host.requests;
  int answers_before = answers;
  ASSERT_TRUE(view.Open(20240105, &stock, "1", error));
  EXPECT_EQ(host.requests, before);
  EXPECT_EQ(view.Points().size(), 240u);
  PumpUntil([] { return false; }, 300);  // nothing else arrives
  EXPECT_EQ(answers, answers_before);
}

TEST_F(QuoteFixture, ServerKilledMidStreamGivesTheEndNotice) {
  StartReceiver(server.Port());
  ASSERT_TRUE(PumpUntil([&] { return receiver->IsConnected(); }));
  for (int i = 0; i < 20; ++i)
    receiver->AddRequest({TransactionsRequest(20240105, 1, "600000", 0, 2000), 0});
  server.Kill();
  ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }));
  EXPECT_EQ(ends, std::vector<ReceiverEnd>{ReceiverEnd::kConnectionLost});
  EXPECT_FALSE(receiver->IsConnected());
  EXPECT_FALSE(receiver->AddRequest({MinuteDataRequest(20240105, 1, "600000"), 0}));
  ReceiverEndTexts texts = EndNoticeTexts(ends[0]);
  EXPECT_EQ(texts.failure_text, "");
  EXPECT_EQ(texts.caption, "网络连接中断!");
  EXPECT_EQ(texts.message, "行情连接被断开!");
  EXPECT_TRUE(receiver->WaitUntilEnded(2000));
}

TEST_F(QuoteFixture, UnreachableServer) {
  int port = server.Port();
  server.Kill();
  StartReceiver(port);
  ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }));
  EXPECT_EQ(ends[0], ReceiverEnd::kConnectFailed);
  EXPECT_EQ(EndNoticeTexts(ends[0]).failure_text, "服务器连接失败");
}

TEST_F(QuoteFixture, DetachedReceiverStaysSilent) {
  StartReceiver(server.Port());
  ASSERT_TRUE(PumpUntil([&] { return receiver->IsConnected(); }));
  receiver->AddRequest({MinuteDataRequest(20240105, 1, "600000"), 0});
  receiver->Detach();
  receiver->Stop();
  ASSERT_TRUE(PumpUntil([&] { return receiver->WaitUntilEnded(0); }));
  EXPECT_TRUE(ends.empty());
  EXPECT_EQ(answers, 0);
}

// The head of a minute-data request, which promises thirteen bytes more that never come.
std::string HalfRequest() {
  return MinuteDataRequest(20240105, 1, "600000").substr(0, kRequestHeadSize);
}

TEST_F(QuoteFixture, StalledHalfRequestsDoNotLockOthersOut) {
  std::vector<SocketFd> stalled;
  for (int i = 0; i < 100; ++i) {
    stalled.push_back(ConnectTcp("127.0.0.1", server.Port(), 2000));
    ASSERT_TRUE(stalled.back().IsOpen());
    ASSERT_TRUE(SendAll(stalled.back().Get(), HalfRequest()));
  }
  StartReceiver(server.Port());
  ASSERT_TRUE(PumpUntil([&] { return receiver->IsConnected(); }));
  ASSERT_TRUE(view.Open(20240105, &stock, "1", error));
  ASSERT_TRUE(PumpUntil([&] { return view.Points().size() == 240; }));
  EXPECT_TRUE(ends.empty());
}

TEST(QuoteServerLimits, IdleHalfRequestsAreDroppedAndBusyClientsKept) {
  TempFolder data;
  WriteDataRoot(data.Path());
  ServerProcess server;
  ASSERT_TRUE(server.Start("vorelin-quote-server",
                           {"--root", data.Path().string(), "--idle-timeout", "1"}));
  SocketFd silent = ConnectTcp("127.0.0.1", server.Port(), 2000);
  SocketFd half = ConnectTcp("127.0.0.1", server.Port(), 2000);
  SocketFd busy = ConnectTcp("127.0.0.1", server.Port(), 2000);
  ASSERT_TRUE(SendAll(half.Get(), HalfRequest()));
  ASSERT_TRUE(SendAll(busy.Get(), HelloPacket()));
  auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(2500)) {
    ASSERT_TRUE(SendAll(busy.Get(), MinuteDataRequest(20240105, 1, "600000")));
    std::string answer;
    ASSERT_TRUE(ReadQuoteAnswer(busy.Get(), 2000, answer));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  EXPECT_TRUE(ClosedByPeer(silent.Get(), 1000));
  EXPECT_TRUE(ClosedByPeer(half.Get(), 1000));
  EXPECT_FALSE(ClosedByPeer(busy.Get(), 100));
}

// A server that lies: each request gets one bad answer kind, then the last a good one.
TEST(QuoteReceiverRobustness, BadAnswersAreDroppedAndTheLinkGoesOn) {
  int port = 0;
  std::string error;
  SocketFd listener = ListenTcp("127.0.0.1", 0, port, error);
  ASSERT_TRUE(listener.IsOpen()) << error;
  std::string good;
  ASSERT_TRUE(EncodeQuoteAnswer(kMinuteDataType, EncodeMinuteBody({{1000, 5}, {1010, 6}}), 0, good));
  std::string wrong_type;
  ASSERT_TRUE(EncodeQuoteAnswer(kTransactionsType, EncodeTradeBody({{600, 1, 1, 0}}), 0, wrong_type));
  std::string bad_inflate = good;
  bad_inflate[kAnswerHeaderSize + 3] ^= 0x5A;
  std::string oversize = EncodeAnswerHeader({kCompressedFlag, kMinuteDataType, 40, 60000}) +
                         std::string(40, 'z');
  const std::vector<std::string> replies = {std::string(16, '\x01'), "short", wrong_type,
                                            bad_inflate, oversize, good};
  std::thread peer([&] {
    SocketFd c(::accept(listener.Get(), nullptr, nullptr));
    char buffer[64];
    ::recv(c.Get(), buffer, 13, MSG_WAITALL);  // hello
    for (const std::string& reply : replies) {
      if (::recv(c.Get(), buffer, 23, MSG_WAITALL) != 23) return;
      SendAll(c.Get(), reply);
    }
    ::recv(c.Get(), buffer, 1, 0);  // until the receiver hangs up
  });
  auto invoker = std::make_shared<LoopInvoker>();
  std::vector<QuoteAnswer> got;
  std::vector<ReceiverEnd> ends;
  QuoteServerAddress address;
  address.port = port;
  auto receiver = TRecvData::Create(
      address, invoker, [&](const QuoteAnswer& a) { got.push_back(a); },
      [&](ReceiverEnd e) { ends.push_back(e); });
  receiver->Start();
  ASSERT_TRUE(invoker->Pump([&] { return receiver->IsConnected(); }));
  for (size_t i = 0; i < replies.size(); ++i)
    receiver->AddRequest({MinuteDataRequest(20240105, 1, "600000"), 0});
  ASSERT_TRUE(invoker->Pump([&] { return !got.empty(); }));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].minutes.size(), 2u);
  EXPECT_FLOAT_EQ(got[0].minutes[1].price, 10.10f);
  EXPECT_TRUE(ends.empty());
  receiver->Stop();
  ASSERT_TRUE(invoker->Pump([&] { return receiver->WaitUntilEnded(0); }));
  EXPECT_EQ(ends, std::vector<ReceiverEnd>{ReceiverEnd::kStopped});
  invoker->Close();
  peer.join();
}

}  // namespace
}  // namespace vorelin
