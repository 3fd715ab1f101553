#include "widgets/WidgetTexts.h"

#include <vector>

#include "widgets/IWidgetCollection.h"
#include "widgets/TextWidget.h"

namespace qv {

int ReexpandTexts(IWidget& root) {
  int changed = 0;
  // Iterative, as deep trees are walked elsewhere: the stack holds owners.
  std::vector<Ref<IWidget>> stack{Ref<IWidget>(&root)};
  while (!stack.empty()) {
    const Ref<IWidget> widget = std::move(stack.back());
    stack.pop_back();
    if (auto* text = QueryPtr<TTextWidget>(widget.get()); text && text->ReexpandText()) ++changed;
    if (IWidgetCollection* children = widget->GetChildren()) {
      for (int i = children->GetCount(); i-- > 0;)
        if (Ref<IWidget> child = children->GetWidget(i)) stack.push_back(std::move(child));
    } else if (Ref<IWidget> only = widget->GetChild("")) {
      // A decorator answers its one child for any key.
      stack.push_back(std::move(only));
    }
  }
  return changed;
}

}  // namespace qv
