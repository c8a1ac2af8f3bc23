#pragma once
// Turns expression text into byte code for a FunctionParseResult: a small
// recursive-descent parser with the usual precedence, from loosest to
// tightest: | & (comparisons) (+ -) (* / %) (unary - + !) ^ (right-assoc).

#include "FunctionByteCode.h"

#include <cstdint>
#include <string>
#include <vector>

// Fills names from comma-separated variables; returns 7 on a bad list (not
// an identifier, repeated, or the name of a function), else 11.
int CompileVariableNames(const std::string& variables, const FunctionParseResult& tables,
                         std::vector<std::string>& names);

// Compiles text with the variables and names of tables; returns a parse
// error code, 11 on success.
int CompileFunction(const std::string& text, const FunctionParseResult& tables,
                    std::vector<std::uint32_t>& code, std::vector<double>& immediates);

// A name AddConstant or AddFunction may add: an identifier that names
// nothing yet.
bool IsFreeFunctionName(const std::string& name, const FunctionParseResult& tables);
