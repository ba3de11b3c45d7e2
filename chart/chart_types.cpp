// Period names shown in titles and on the board.
#include "chart/chart_types.h"

namespace vorelin {

std::string PeriodName(TWeekStyle period) {
  switch (period) {
    case TWeekStyle::wsMin5: return "5分钟";
    case TWeekStyle::wsMin15: return "15分钟";
    case TWeekStyle::wsMin30: return "30分钟";
    case TWeekStyle::wsMin60: return "60分钟";
    case TWeekStyle::wsDay: return "日线";
    case TWeekStyle::wsWeek: return "周线";
    case TWeekStyle::wsMonth: return "月线";
    case TWeekStyle::wsmin1: return "1分钟";
    case TWeekStyle::wsmin10: return "10分钟";
    case TWeekStyle::wsDay45: return "45日线";
    case TWeekStyle::wsJi: return "季线";
    case TWeekStyle::wsYear: return "年线";
    case TWeekStyle::wsFenBi: return "分笔";
    case TWeekStyle::wsNone: break;
  }
  return "";
}

}  // namespace vorelin
