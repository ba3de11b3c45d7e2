// What a new "Stock.Bin" holds: the five categories and a few formulas to start from.
#include "formula_library/formula_store.h"

namespace vorelin {

const std::vector<FormulaCategory>& DefaultFormulaCategories() {
  static const std::vector<FormulaCategory> kCategories = {
      {"常用", 1, 1}, {"趋势", 1, 2}, {"摆动", 1, 3}, {"量能", 1, 4}, {"自定义", 1, 5}};
  return kCategories;
}

const std::vector<FormulaRow>& ExampleFormulas() {
  static const std::vector<FormulaRow> kExamples = {
      {"MYMA", "三条均线",
       "TECHNAME:=MYMA;\r\n"
       "TECHTITLE:=三条均线;\r\n"
       "DRAWK:=TRUE;\r\n"
       "N1:=INPUT(2,250,5,5);\r\n"
       "N2:=INPUT(2,250,10,10);\r\n"
       "N3:=INPUT(2,250,20,20);\r\n"
       "MA1:MA(CLOSE,N1),COLORWHITE;\r\n"
       "MA2:MA(CLOSE,N2),COLORYELLOW;\r\n"
       "MA3:MA(CLOSE,N3),COLORFF00FF;\r\n"
       "*短期均线上穿长期均线，趋势转强；下穿则转弱。",
       "常用", 1},
      {"BOLLBAND", "布林通道",
       "TECHNAME:=BOLLBAND;\r\n"
       "TECHTITLE:=布林通道;\r\n"
       "DRAWK:=TRUE;\r\n"
       "N:=INPUT(5,120,20,20);\r\n"
       "MID:MA(CLOSE,N);\r\n"
       "UPPER:MID+2*STD(CLOSE,N),COLORYELLOW;\r\n"
       "LOWER:MID-2*STD(CLOSE,N),COLORFF00FF;\r\n"
       "*收盘价触及上轨为偏强，触及下轨为偏弱。",
       "趋势", 1},
      {"MYRSI", "相对强弱",
       "TECHNAME:=MYRSI;\r\n"
       "TECHTITLE:=相对强弱;\r\n"
       "DRAWK:=FALSE;\r\n"
       "N:=INPUT(2,100,6,6);\r\n"
       "LC:=REF(CLOSE,1);\r\n"
       "RSI:SMA(MAX(CLOSE-LC,0),N,1)/SMA(ABS(CLOSE-LC),N,1)*100;\r\n"
       "80,LINEDOT,COLORYELLOW;\r\n"
       "20,LINEDOT,COLORYELLOW;\r\n"
       "*RSI高于80为超买，低于20为超卖。",
       "摆动", 1},
      {"VOLRATIO", "量比均量",
       "TECHNAME:=VOLRATIO;\r\n"
       "TECHTITLE:=量比均量;\r\n"
       "DRAWK:=FALSE;\r\n"
       "N:=INPUT(2,60,5,5);\r\n"
       "VV:VOL,VOLSTICK;\r\n"
       "MAV:MA(VOL,N),COLORYELLOW;\r\n"
       "*成交量高于均量为放量。",
       "量能", 1},
  };
  return kExamples;
}

}  // namespace vorelin
