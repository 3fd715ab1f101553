// What the high-score grid reads of a record table: how many records, which
// one is highlighted (the last one inserted) and a record's field by name.
// The players' record table offers it to the grid.
#pragma once

#include <string>

#include "core/Ref.h"
#include "core/Variant.h"

namespace qv {

class IGridRecords : public virtual IInterface {
protected:
  ~IGridRecords() override = default;

public:
  virtual int GetRecordCount() = 0;
  // -1 when none.
  virtual int GetHighlightedRecord() = 0;
  // Empty when the record has no such field.
  virtual TVariant GetRecordField(int index, const std::string& name) = 0;
};

}  // namespace qv
