// The errors of the expression parser. Every compile error throws
// EParserException; a math error while evaluating (or folding) an
// expression throws EMathError, a subclass that callers catch.
#pragma once

#include <stdexcept>
#include <string>

namespace qv {

class EParserException : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A math error while evaluating (or folding) an expression.
class EMathError : public EParserException {
public:
  using EParserException::EParserException;
};

namespace expr {

// Every message of the parser, compile and math errors alike, starts with
// this prefix, so authors can tell them from other errors.
inline constexpr char kErrPrefix[] = "Error in math expression: ";
inline constexpr char kDivisionByZero[] = "Error in math expression: Division by zero";
inline constexpr char kInvalidOperation[] = "Error in math expression: Invalid floating point operation";
inline constexpr char kOverflow[] = "Error in math expression: Floating point overflow";

// A compile error: throws EParserException with the prefix before `message`.
[[noreturn]] void Fail(const std::string& message);

}  // namespace expr
}  // namespace qv
