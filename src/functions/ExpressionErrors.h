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

inline constexpr char kErrPrefix[] = "Error in math expression: ";
inline constexpr char kDivisionByZero[] = "Division by zero";
inline constexpr char kInvalidOperation[] = "Invalid floating point operation";
inline constexpr char kOverflow[] = "Floating point overflow";

// A compile error: throws EParserException with the prefix.
[[noreturn]] void Fail(const std::string& message);

}  // namespace expr
}  // namespace qv
