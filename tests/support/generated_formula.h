// Formulas made from a stream of numbers: a few statements of nested library calls and
// operators over the bar series, earlier results and parameters, with the lengths, signs
// and conditions that reach the functions' edge cases. Tests and the fuzz target share it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorelin {

class FormulaGenerator {
 public:
  // `next` gives the numbers every choice is made from.
  explicit FormulaGenerator(std::function<uint32_t()> next) : next_(std::move(next)) {}

  std::string Formula() {
    names_ = {"C", "O", "H", "L", "V", "CLOSE", "AMOUNT"};
    std::string text;
    if (Pick(3) == 0) {
      text += "N1:=INPUT(1,100," + Length() + ",5);\r\n";
      names_.push_back("N1");
    }
    const int statements = 1 + Pick(6);
    for (int k = 0; k < statements; ++k) {
      const int kind = Pick(12);
      if (kind == 0) {
        text += Drawing();
        continue;
      }
      if (kind == 1) {
        text += Number() + ",LINEDOT;\r\n";
        continue;
      }
      const std::string name = "V" + std::to_string(k);
      text += name + (Pick(2) == 0 ? ":=" : ":") + Expression(2) + ";\r\n";
      names_.push_back(name);
    }
    return text;
  }

 private:
  int Pick(int n) { return static_cast<int>(next_() % static_cast<uint32_t>(n)); }
  template <size_t N>
  const char* OneOf(const char* const (&items)[N]) {
    return items[Pick(static_cast<int>(N))];
  }

  std::string Number() {
    static const char* const kNumbers[] = {"0", "1", "2", "0.5", "3", "10", "20", "80", "-1"};
    return OneOf(kNumbers);
  }
  std::string Length() {
    static const char* const kLengths[] = {"0", "1", "2", "3", "5", "9", "26", "60", "-1"};
    // Series lengths, one of them without a value on some bars.
    static const char* const kSeriesLengths[] = {"IF(C>O,3,8)", "(C>O)*5+1", "IF(V>3000,4,V/0)"};
    if (names_.size() > 7 && Pick(6) == 0 && names_.back() == "N1") return "N1";
    if (Pick(8) == 0) return OneOf(kSeriesLengths);
    return OneOf(kLengths);
  }
  std::string Atom() {
    if (Pick(5) == 0) return Number();
    return names_[static_cast<size_t>(Pick(static_cast<int>(names_.size())))];
  }
  std::string Condition(int depth) {
    static const char* const kCompare[] = {">", "<", ">=", "<=", "=", "<>"};
    return Expression(depth) + OneOf(kCompare) + Expression(depth);
  }

  std::string Expression(int depth) {
    if (depth <= 0) return Atom();
    const int d = depth - 1;
    switch (Pick(14)) {
      case 0:
      case 1: return Atom();
      case 2: {
        static const char* const kOps[] = {"+", "-", "*", "/", " AND ", " OR "};
        return "(" + Expression(d) + OneOf(kOps) + Expression(d) + ")";
      }
      case 3: {
        static const char* const kWindow[] = {
            "MA", "EMA", "EXPMA", "REF", "HHV", "LLV", "HHVBARS", "LLVBARS", "SUM", "WMA",
            "FORECAST", "XMA", "HOD", "LOD", "MEMA", "EXPMEMA", "STD", "AVEDEV", "VAR",
            "STDP", "VARP", "DEVSQ", "SLOPE", "FORCAST"};
        return std::string(OneOf(kWindow)) + "(" + Expression(d) + "," + Length() + ")";
      }
      case 4: {
        static const char* const kCount[] = {"COUNT", "BARSSINCEN", "FILTER", "FILTERX",
                                             "BACKSET", "EVERY", "EXIST", "UPNDAY",
                                             "DOWNNDAY"};
        return std::string(OneOf(kCount)) + "(" + Condition(d) + "," + Length() + ")";
      }
      case 5: {
        static const char* const kUnary[] = {"ABS", "SQRT", "NOT", "INTPART", "FLOOR", "LN",
                                             "BARSCOUNT", "TOPRANGE", "LOWRANGE", "SIN"};
        return std::string(OneOf(kUnary)) + "(" + Expression(d) + ")";
      }
      case 6: {
        static const char* const kSince[] = {"BARSLAST", "BARSSINCE", "BARSNEXT",
                                             "BARSLASTCOUNT"};
        return std::string(OneOf(kSince)) + "(" + Condition(d) + ")";
      }
      case 7: {
        static const char* const kBinary[] = {"CROSS", "MAX", "MIN", "MOD", "LONGCROSS"};
        const std::string name = OneOf(kBinary);
        const std::string tail = name == "LONGCROSS" ? "," + Length() : "";
        return name + "(" + Expression(d) + "," + Expression(d) + tail + ")";
      }
      case 8: return "IF(" + Condition(d) + "," + Expression(d) + "," + Expression(d) + ")";
      case 9: return "SMA(" + Expression(d) + "," + Length() + "," + OneOf({"1", "2"}) + ")";
      case 10: return "DMA(" + Expression(d) + "," + OneOf({"0.3", "1", "0.05"}) + ")";
      case 11: {
        static const char* const kWhole[] = {"ZIG(C,3)",        "PEAKBARS(C,3,1)",
                                             "TROUGH(L,5,1)",   "SAR(10,2,20)",
                                             "CURRBARSCOUNT",   "TOTALBARSCOUNT",
                                             "ISLASTBAR",       "BARSTATUS",
                                             "CONST(C)",        "SUMBARS(V,100000)",
                                             "MACD.DIF",        "\"KDJ.K\"(9,3,3)"};
        return OneOf(kWhole);
      }
      case 12:
        return "LAST(" + Condition(d) + "," + OneOf({"5", "3"}) + "," + OneOf({"1", "2"}) + ")";
      default: return "NDAY(" + Atom() + "," + Atom() + "," + Length() + ")";
    }
  }

  std::string Drawing() {
    switch (Pick(4)) {
      case 0: return "STICKLINE(" + Condition(1) + ",O,C,2,0);\r\n";
      case 1: return "DRAWTEXT(" + Condition(1) + ",L,'B');\r\n";
      case 2: return "DRAWICON(" + Condition(1) + ",H,1);\r\n";
      default: return "DRAWLINE(H>=HHV(H,5),H,L<=LLV(L,5),L,0);\r\n";
    }
  }

  std::function<uint32_t()> next_;
  std::vector<std::string> names_;
};

}  // namespace vorelin
