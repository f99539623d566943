#include "render/flight_snapshots.h"

#include <cmath>
#include <cstdio>

namespace render {

FlightSnapshots::FlightSnapshots(std::filesystem::path dir, double every_s, PanelLayout layout)
    : dir_(std::move(dir)), every_s_(every_s), layout_(std::move(layout)), next_s_(every_s) {}

void FlightSnapshots::after_cycle(double time_s, gaugehost::Host &host) {
  if (!error_.empty() || every_s_ <= 0 || time_s < next_s_) {
    return;
  }
  // Named by the multiple it stands for: a cycle lands a little past it.
  const long shown_s = std::lround(next_s_);
  next_s_ += every_s_ * std::floor((time_s - next_s_) / every_s_ + 1);
  char label[72], name[96];
  std::snprintf(label, sizeof label, "%02ld:%02ld:%02ld", shown_s / 3600, shown_s / 60 % 60,
                shown_s % 60);
  std::snprintf(name, sizeof name, "snap-%02ld-%02ld-%02ld.png", shown_s / 3600, shown_s / 60 % 60,
                shown_s % 60);
  const Surface image = render_panel(renderer_, host, layout_);
  if (write_png(image.get(), dir_ / name, error_)) {
    sheet_.add(image.get(), label);
    ++count_;
  }
}

bool FlightSnapshots::finish(std::string &error) {
  if (error_.empty() && !sheet_.empty()) {
    sheet_.write(dir_ / "contact-sheet.png", error_);
  }
  error = error_;
  return error_.empty();
}

} // namespace render
