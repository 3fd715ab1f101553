#include "functions/ExpressList.h"

#include "core/StringUtils.h"

namespace qv::expr {

TExprWord* TExpressList::Find(const std::string& name) const {
  auto it = words_.find(LowerCase(name));
  return it == words_.end() ? nullptr : it->second.get();
}

TExprWord& TExpressList::Add(std::unique_ptr<TExprWord> word) {
  word->name = LowerCase(word->name);
  auto& slot = words_[word->name];
  if (slot) retired_.push_back(std::move(slot));
  slot = std::move(word);
  return *slot;
}

void TExpressList::Remove(const std::string& name) {
  auto it = words_.find(LowerCase(name));
  if (it == words_.end()) return;
  retired_.push_back(std::move(it->second));
  words_.erase(it);
}

}  // namespace qv::expr
