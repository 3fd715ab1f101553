// A list box as screens use it: rows of text by index or name and the
// selected row.
#pragma once

#include <string>

#include "core/Ref.h"

namespace qv {

class IListBoxControl : public virtual IInterface {
protected:
  ~IListBoxControl() override = default;

public:
  // The row's text (UTF-8); empty for a key that names no row. A key is an
  // index text or a row name.
  virtual std::string GetItemText(const std::string& key) = 0;
  virtual void AddItem(const std::string& name, const std::string& text) = 0;
  virtual void DeleteItem(const std::string& key) = 0;
  virtual void Clear() = 0;
  // -1 clears the selection; an index outside the rows is ignored.
  virtual void SetSelected(int index) = 0;
  virtual int GetSelected() = 0;
  virtual int GetItemCount() const = 0;
};

}  // namespace qv
