// The words every expression parser starts with: the operators with their
// priorities (a smaller number binds tighter), the constant "pi" and the
// standard functions with their descriptions.
#pragma once

#include "functions/ExpressList.h"

namespace qv::expr {

void AddStandardWords(TExpressList& words);

}  // namespace qv::expr
