// The three compilation passes: source lines -> a flat program of simple statements (one
// call, one BIAO operation or one operand each), nested parts broken into temporaries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formula/function_table.h"

namespace vorelin {

// True on success. On failure `program` holds the statements compiled before the failing
// one and `error` the message (line numbers count every source line from 1).
bool CompileProgram(const std::vector<std::string>& lines, const TFunclist& functions,
                    std::vector<std::string>& program, std::string& error);

// Operators in a text: 0 for an empty text or a decimal number; "<=", ">=", "!=" count once;
// a "-" right after "(" or "," is a sign.
int CountOperators(std::string_view text);

// Splits a statement into its name part (name with ":=", ":" or "=") and expression.
void SplitNamePart(std::string_view statement, std::string& namePart, std::string& expression);

// Splits off the attribute list: the leftmost "," after the last ")" starts it (the comma
// stays in `attributes`).
void SplitAttributes(std::string_view expression, std::string& body, std::string& attributes);

}  // namespace vorelin
