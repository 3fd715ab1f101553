// The texts of a widget tree after the language tables changed.
#pragma once

#include "widgets/IWidget.h"

namespace qv {

// Expands again the macro text of every text widget in the tree under (and
// including) `root`: a group's children and a decorator's child, hidden ones
// too, so a screen shown later is already in the new language. Answers how
// many shown texts changed.
int ReexpandTexts(IWidget& root);

}  // namespace qv
