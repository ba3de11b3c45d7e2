// The numeric boxes of the main window (play speed, start row, fees, capital) take only
// digits, '-', '.', backspace and Enter; any other typed character becomes '0'.
#pragma once

namespace vorelin {

constexpr char FilterNumericKey(char typed) {
  const bool allowed = (typed >= '0' && typed <= '9') || typed == '-' || typed == '.' ||
                       typed == '\b' || typed == '\r';
  return allowed ? typed : '0';
}

}  // namespace vorelin
