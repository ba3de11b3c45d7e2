#include <gtest/gtest.h>

#include "market/csv_import.h"

namespace vorelin {
namespace {

TEST(CsvImport, DayFilesInAnyColumnOrderAndSeparator) {
  struct Case { const char* name; const char* text; };
  const Case cases[] = {
      {"comma, ISO dates", "Date,Open,High,Low,Close,Volume,Amount\n"
                           "2024-01-02,10,11,9,10.5,1000,10400\n2024-01-03,10.5,11,10,10.8,900,9600\n"},
      {"tab, other order, slashes", "close\tdate\tVOL\topen\thigh\tlow\tamount\r\n"
                                    "10.5\t2024/01/02\t1000\t10\t11\t9\t10400\r\n"
                                    "10.8\t2024/01/03\t900\t10.5\t11\t10\t9600\r\n"},
      {"semicolon, newest first", "Date;Open;High;Low;Close;Volume;Amount\n"
                                  "20240103;10.5;11;10;10.8;900;9600\n\n"
                                  "20240102;10;11;9;10.5;1000;10400\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CsvImport out;
    std::string error;
    ASSERT_TRUE(ImportCsv(c.text, out, error)) << error;
    EXPECT_FALSE(out.minute);
    EXPECT_EQ(out.lines, (std::vector<std::string>{"20240102,10,11,9,10.5,10400,1000",
                                                   "20240103,10.5,11,10,10.8,9600,900"}));
  }
}

TEST(CsvImport, MinuteFilesAndMissingAmount) {
  CsvImport out;
  std::string error;
  ASSERT_TRUE(ImportCsv("DateTime,Open,High,Low,Close,Volume\n2024-01-02 09:31:00,10,11,9,10,300\n",
                        out, error)) << error;
  EXPECT_TRUE(out.minute);
  EXPECT_EQ(out.lines, std::vector<std::string>{"20240102,0931,10,11,9,10,3000,300"});
  ASSERT_TRUE(ImportCsv("date,time,open,high,low,close,volume\n20240102,13:01,1,1,1,2,5\n20240102,9:31,1,1,1,2,5\n", out, error));
  EXPECT_EQ(out.lines, (std::vector<std::string>{"20240102,0931,1,1,1,2,10,5", "20240102,1301,1,1,1,2,10,5"}));
}

TEST(CsvImport, ErrorsNameTheLine) {
  struct Case { const char* name; const char* text; const char* error; };
  const Case cases[] = {
      {"no close column", "Date,Open,High,Low,Volume\n", "line 1: the header has no Close column"},
      {"bad date", "Date,Open,High,Low,Close,Volume\n2024-01-02,1,1,1,1,1\n2024-13-01,1,1,1,1,1\n",
       "line 3: \"2024-13-01\" is not a date (YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD)"},
      {"bad number", "Date,Open,High,Low,Close,Volume\n2024-01-02,1,x,1,1,1\n",
       "line 2: High \"x\" is not a number"},
      {"empty file", "", "the file is empty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CsvImport out;
    out.lines = {"kept"};
    std::string error;
    EXPECT_FALSE(ImportCsv(c.text, out, error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(out.lines, std::vector<std::string>{"kept"});
  }
}

}  // namespace
}  // namespace vorelin
