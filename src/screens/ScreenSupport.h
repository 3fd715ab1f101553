// Small things the standard screens share: parameter collections made and
// read by name, and widget properties set by path, each quiet when the
// widget or parameter is missing (the screens' data decide what exists).
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "storage/ParamCollection.h"

namespace qv {

class IWindow;

// A new collection holding the pairs, in order.
Ref<TParamCollection> MakeParams(std::initializer_list<std::pair<const char*, std::string>> pairs);
// Whether the collection (which may be null) has the parameter; its value
// as text in `value`.
bool ParamText(IParamCollection* params, const std::string& name, std::string& value);
// The parameter as a whole number (blanks around it allowed) in `value`;
// false, and `value` untouched, when it is missing or no number.
bool ParamInt(IParamCollection* params, const std::string& name, long long& value);
// The widget at `path` on the window gets the property; false when the
// widget is missing or refused it.
bool SetWidgetProperty(IWindow& window, const std::string& path, const std::string& property,
                       const TVariant& value);
// The widget's property as text; empty when the widget is missing.
std::string WidgetPropertyText(IWindow& window, const std::string& path, const std::string& property);

}  // namespace qv
