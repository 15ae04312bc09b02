#pragma once
// The expressions of command parameters ("%d{(DestX / 2) + 10}"): integers, the standard
// variables, + - * / MOD, max( , ), min( , ), max_repeat( ) and parentheses, with C precedence.
#include <functional>
#include <string>
#include <string_view>

namespace moltr::unidrv {

// The value of a standard variable by its name; false for a name the driver does not know.
using GpdVariables = std::function<bool(std::string_view name, long long* value)>;

// Evaluates `text`. Without `variables` the expression is only checked (every variable counts as
// known and no arithmetic fails). False with a message for a malformed expression, an unknown
// variable or a division by zero.
bool EvaluateGpdExpression(std::string_view text, const GpdVariables& variables, long long* value,
                           std::string* message);

} // namespace moltr::unidrv
