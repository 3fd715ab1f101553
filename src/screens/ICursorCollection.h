// The game's mouse cursors, one of them current.
#pragma once

#include <string>

#include "core/Ref.h"

namespace qv {

class ICursor;

class ICursorCollection : public virtual IInterface {
protected:
  ~ICursorCollection() override = default;

public:
  virtual int GetCount() const = 0;
  virtual Ref<ICursor> GetItem(int index) = 0;
  virtual Ref<ICursor> GetItem(const std::string& name) = 0;
  virtual void Add(const Ref<ICursor>& cursor) = 0;
  // Null when none is current.
  virtual Ref<ICursor> GetCurrentCursor() = 0;
  // False, and nothing changes, when no cursor has that name.
  virtual bool SetCurrentCursor(const std::string& name) = 0;
  // The default name when a cursor has it, else the first cursor's, else
  // empty.
  virtual std::string GetDefaultCursorName() = 0;
};

}  // namespace qv
