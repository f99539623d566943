// The record lookups behind the selection pages: showing one record, the
// name list and the distance list.
#pragma once

#include <cstdint>

#include "velmar/gpsnav/records.h"

namespace velmar::gpsnav {

// True when `index` names a loaded record (0 to record_count - 1).
bool names_record(int32_t index);
// The record in slot `index`; an empty record for an index outside the table.
const TurnpointRecord &record_at(int32_t index);

// Copies latitude, longitude, elevation, attributes, name and remark of
// record `index` into the shown turnpoint; returns index.
int32_t show_record(int32_t index);

// Shows the first record (file order) whose name contains the text of name
// list slot `slot`; returns its index, or record_count (nothing copied) when
// none does, as for a filler slot.
int32_t show_by_name(int32_t slot);

// Shows the first record whose distance key equals distance list slot `slot`
// (distance key included); returns its index, or record_count (nothing
// copied) when the slot is not a listed one.
int32_t show_by_distance(int32_t slot);

// Page 24: turnpoints (T, S, F, R); page 25: landpoints (A, L, M, W). Reads
// the own position, computes every listed record's distance (each one shown
// in turn, so the last one's distance and bearing texts stand until the
// caller shows the selected entry), keys it "%12.8f" km, and keeps the
// kListSlots nearest in ascending order.
void build_distance_list(int32_t page);

} // namespace velmar::gpsnav
