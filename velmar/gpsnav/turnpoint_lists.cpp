#include "velmar/gpsnav/turnpoint_lists.h"

#include <algorithm>
#include <cstring>

#include "frame/module_frame.h"
#include "velmar/gpsnav/navigation.h"
#include "velmar/gpsnav/state.h"
#include "velmar/gpsnav/text_fields.h"

namespace velmar::gpsnav {
namespace {

// Added to a distance whose key equals one already listed, so that both stay
// apart and keep file order.
constexpr double kDuplicateStepKm = 0.01;
// Keys wider than 12 characters are not possible below this.
constexpr double kLargestKeyKm = 99999999999.0;

constexpr TurnpointRecord kEmptyRecord = {};

// One listed record while the list is built: up to every slot of the table.
struct Candidate {
  double key_km; // value of the key text, for the sort
  char key[kDistanceKeyChars + 1];
};
constinit Candidate candidates[kTurnpointSlots] = {};

bool listed_on(const TurnpointRecord &record, int32_t page) {
  return std::strpbrk(record.attributes, page == 24 ? "TSFR" : "ALMW") != nullptr;
}

// "%12.8f": below 1000 km every key is 12 characters, blank-padded on the
// left, so byte order is distance order. Farther keys drop decimals to stay
// 12 characters wide; the list is sorted by their value.
void format_key(double km, char (&key)[kDistanceKeyChars + 1]) {
  km = std::clamp(km, 0.0, kLargestKeyKm);
  char wide[kLineBytes];
  for (int decimals = 8; decimals >= 0; --decimals) {
    if (frame::format_into(wide, sizeof wide, "%12.*f", decimals, km) <= kDistanceKeyChars) {
      break;
    }
  }
  copy_padded(key, sizeof key, wide, kDistanceKeyChars);
}

void copy_shown(const TurnpointRecord &record) {
  copy_padded(shown.latitude, sizeof shown.latitude, record.latitude, kPositionChars);
  copy_padded(shown.longitude, sizeof shown.longitude, record.longitude, kPositionChars);
  copy_padded(shown.elevation, sizeof shown.elevation, record.elevation, kElevationChars);
  copy_padded(shown.attributes, sizeof shown.attributes, record.attributes, kAttributeChars);
  copy_padded(shown.name, sizeof shown.name, record.name, kNameChars);
  copy_padded(shown.remark, sizeof shown.remark, record.remark, kRemarkChars);
}

} // namespace

bool names_record(int32_t index) {
  return index >= 0 && index < turnpoints.record_count;
}

const TurnpointRecord &record_at(int32_t index) {
  return index >= 0 && index < kTurnpointSlots ? turnpoints.records[index] : kEmptyRecord;
}

int32_t show_record(int32_t index) {
  copy_shown(record_at(index));
  return index;
}

int32_t show_by_name(int32_t slot) {
  if (slot < 0 || slot >= kListSlots) {
    return turnpoints.record_count;
  }
  const char *wanted = names.slots[slot].text;
  for (int32_t i = 0; i < turnpoints.record_count; ++i) {
    if (std::strstr(turnpoints.records[i].name, wanted) != nullptr) {
      return show_record(i);
    }
  }
  return turnpoints.record_count;
}

int32_t show_by_distance(int32_t slot) {
  if (slot < 0 || slot >= distances.distance_count) {
    return turnpoints.record_count;
  }
  const char *wanted = distances.slots[slot].text;
  for (int32_t i = 0; i < turnpoints.record_count; ++i) {
    const TurnpointRecord &record = turnpoints.records[i];
    if (std::strcmp(record.distance_key, wanted) == 0) {
      copy_shown(record);
      copy_padded(shown.distance_key, sizeof shown.distance_key, record.distance_key,
                  kDistanceKeyChars);
      return i;
    }
  }
  return turnpoints.record_count;
}

void build_distance_list(int32_t page) {
  read_own_position();
  int32_t listed = 0;
  for (int32_t i = 0; i < turnpoints.record_count; ++i) {
    TurnpointRecord &record = turnpoints.records[i];
    // A key left from the other page's list must not be found for this one.
    record.distance_key[0] = '\0';
    if (!listed_on(record, page)) {
      continue;
    }
    show_record(i);
    distance_to_shown();
    double km = nav.target_distance_km;
    Candidate &candidate = candidates[listed];
    format_key(km, candidate.key);
    for (int32_t j = 0; j < listed; ++j) {
      if (std::strcmp(candidate.key, candidates[j].key) == 0) {
        km += kDuplicateStepKm;
        format_key(km, candidate.key);
      }
    }
    candidate.key_km = leading_number(candidate.key);
    copy_padded(record.distance_key, sizeof record.distance_key, candidate.key, kDistanceKeyChars);
    ++listed;
  }
  std::sort(candidates, candidates + listed, [](const Candidate &a, const Candidate &b) {
    return a.key_km != b.key_km ? a.key_km < b.key_km : std::strcmp(a.key, b.key) < 0;
  });
  // The list holds the nearest kListSlots; farther ones keep their key only.
  distances.distance_count = std::min(listed, kListSlots);
  for (int32_t slot = 0; slot < kListSlots; ++slot) {
    char *text = distances.slots[slot].text;
    if (slot < distances.distance_count) {
      copy_padded(text, sizeof distances.slots[slot].text, candidates[slot].key, kDistanceKeyChars);
    } else {
      text[0] = '\0';
    }
  }
}

} // namespace velmar::gpsnav
