#include <gtest/gtest.h>

#include "common/format.h"
#include "market/csv_import.h"

namespace vorelin {
namespace {

// The import fails with exactly `want` and leaves its output alone.
void ExpectRefused(const std::string& text, const std::string& want) {
  CsvImport out;
  out.lines = {"kept"};
  std::string error;
  EXPECT_FALSE(ImportCsv(text, out, error));
  EXPECT_EQ(error, want);
  EXPECT_EQ(out.lines, std::vector<std::string>{"kept"});
}

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
  ASSERT_TRUE(ImportCsv("date,time,open,high,low,close,volume\n20240102,13:01,1,2,1,2,5\n20240102,9:31,1,2,1,2,5\n", out, error));
  EXPECT_EQ(out.lines, (std::vector<std::string>{"20240102,0931,1,2,1,2,10,5", "20240102,1301,1,2,1,2,10,5"}));
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
    ExpectRefused(c.text, c.error);
  }
}

// Quoted fields as RFC 4180 has them: separators, "" and line breaks inside quotes, and
// digits grouped by commas read as one number, not as 1 followed by a shifted column.
TEST(CsvImport, QuotedFieldsAndThousandsSeparators) {
  struct Case { const char* name; const char* text; const char* want; };
  const Case cases[] = {
      {"quoted thousands", "Date,Open,High,Low,Close,Volume\n2024-01-02,10,11,9,10.5,\"1,000\"\n",
       "20240102,10,11,9,10.5,10500,1000"},
      {"millions with a fraction",
       "Date,Open,High,Low,Close,Volume,Amount\n2024-01-02,10,11,9,10.5,\"1,234,567\",\"12,962,953.5\"\n",
       "20240102,10,11,9,10.5,12962953.5,1234567"},
      {"amounts keep fifteen digits",
       "Date,Open,High,Low,Close,Volume,Amount\n2024-01-02,10.01,11,9,10.5,1234567890123,\"12,345,678,901.23\"\n",
       "20240102,10.01,11,9,10.5,12345678901.23,1234567890123"},
      {"quoted header and spaces around quotes",
       "\"Date\", \"Open\" ,High,Low,Close,Volume\n \"2024-01-02\" ,10,11,9,10.5,100\n",
       "20240102,10,11,9,10.5,1050,100"},
      {"unknown column with quotes, commas and a line break",
       "Date,Note,Open,High,Low,Close,Volume\n2024-01-02,\"said \"\"hi, there\"\"\nnext\",10,11,9,10.5,100\n",
       "20240102,10,11,9,10.5,1050,100"},
      {"semicolon file with grouped volume", "Date;Open;High;Low;Close;Volume\n2024-01-02;10;11;9;10.5;2,000\n",
       "20240102,10,11,9,10.5,21000,2000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CsvImport out;
    std::string error;
    ASSERT_TRUE(ImportCsv(c.text, out, error)) << error;
    EXPECT_EQ(out.lines, std::vector<std::string>{c.want});
  }
}

// A bar that cannot be, or a second bar of the same date with other values, refuses the
// whole file with the line named: no silently wrong data.
TEST(CsvImport, ImpossibleBarsRefuseTheFile) {
  const std::string header = "Date,Open,High,Low,Close,Volume\n";
  const std::string good = "2024-01-02,10,11,9,10.5,100\n";
  struct Case { const char* name; std::string text; const char* error; };
  const Case cases[] = {
      {"30 February", header + good + "2024-02-30,10,11,9,10.5,100\n",
       "line 3: \"2024-02-30\" is not a day of the calendar"},
      {"29 February of a common year", header + "20230229,10,11,9,10.5,100\n",
       "line 2: \"20230229\" is not a day of the calendar"},
      {"31 April", header + "2024/04/31,10,11,9,10.5,100\n",
       "line 2: \"2024/04/31\" is not a day of the calendar"},
      {"year 0999", header + "0999-01-02,10,11,9,10.5,100\n",
       "line 2: \"0999-01-02\" is not a date (YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD)"},
      {"high below low", header + "2024-01-02,10,9,11,10,100\n", "line 2: High 9 is below Low 11"},
      {"open above high", header + "2024-01-02,12,11,9,10.5,100\n",
       "line 2: Open 12 is not between Low 9 and High 11"},
      {"close below low", header + "2024-01-02,10,11,9,8.5,100\n",
       "line 2: Close 8.5 is not between Low 9 and High 11"},
      {"same day, other values", header + good + "2024-01-03,10,11,9,10.5,100\n2024-01-02,10,11,9,10.6,100\n",
       "line 4: 20240102 is on line 2 too, with other values"},
      {"same minute, other values",
       "DateTime,Open,High,Low,Close,Volume\n2024-01-02 09:31,10,11,9,10,1\n2024-01-02 09:31:00,10,11,9,10,2\n",
       "line 3: 20240102 0931 is on line 2 too, with other values"},
      {"time in a day file", header + good + "2024-01-03 09:31,10,11,9,10.5,100\n",
       "line 3: \"2024-01-03 09:31\" has a time, but the first bar has none"},
      {"comma not grouping digits", header + "2024-01-02,10,11,9,\"10,5\",100\n",
       "line 2: Close \"10,5\" is not a number"},
      {"quote not closed", header + "2024-01-02,10,11,9,10.5,\"100\n", "line 2: a quoted field is not closed"},
      {"text after a closing quote", header + "2024-01-02,\"10\"x,11,9,10.5,100\n",
       "line 2: text after the closing quote of a field"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectRefused(c.text, c.error);
  }
}

TEST(CsvImport, ExactRepeatsAreLeftOutWithANote) {
  CsvImport out;
  std::string error;
  ASSERT_TRUE(ImportCsv("Date,Open,High,Low,Close,Volume\n2024-01-03,10,11,9,10.5,100\n"
                        "2024-01-02,10,11,9,10.5,100\n\n2024-01-03,10,11,9,10.5,\"100\"\n",
                        out, error)) << error;
  EXPECT_EQ(out.lines, (std::vector<std::string>{"20240102,10,11,9,10.5,1050,100",
                                                 "20240103,10,11,9,10.5,1050,100"}));
  EXPECT_EQ(out.notes, std::vector<std::string>{"line 5: the same bar as line 2, left out"});
}

// The formula tools load at most kImportBarLimit bars; a larger file is refused at the
// first bar too many.
TEST(CsvImport, MoreBarsThanADataFileHoldsAreRefused) {
  auto file = [](size_t bars) {
    std::string text = "Date,Time,Open,High,Low,Close,Volume\n";
    for (size_t i = 0; i < bars; ++i) {  // every minute of the day, 28 days a month
      const size_t day = i / 1440, minute = i % 1440;
      text += Format("2024%02zu%02zu,%02zu:%02zu,10,11,9,10,1\n", 1 + day / 28, 1 + day % 28,
                     minute / 60, minute % 60);
    }
    return text;
  };
  CsvImport out;
  std::string error;
  ASSERT_TRUE(ImportCsv(file(kImportBarLimit), out, error)) << error;
  EXPECT_EQ(out.lines.size(), kImportBarLimit);
  EXPECT_FALSE(ImportCsv(file(kImportBarLimit + 1), out, error));
  EXPECT_EQ(error, "line 100000: more than 99998 bars, the most a day or minute data file holds");
}

}  // namespace
}  // namespace vorelin
