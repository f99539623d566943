// A flight's panel every N seconds of flight time: snap-HH-MM-SS.png (the
// flight time) in a folder, and at the end contact-sheet.png with all of
// them, each labelled with its flight time.
#pragma once

#include <filesystem>
#include <string>

#include "render/contact_sheet.h"
#include "render/renderer.h"

namespace render {

class FlightSnapshots {
public:
  FlightSnapshots(std::filesystem::path dir, double every_s, PanelLayout layout);

  // After an update cycle: a snapshot once flight time has reached the next
  // multiple of every_s. The first failure is kept (see error) and ends the
  // snapshots.
  void after_cycle(double time_s, gaugehost::Host &host);
  // Writes the contact sheet (when there are snapshots). Returns false with
  // the first failure of the run.
  bool finish(std::string &error);
  int count() const { return count_; }

private:
  std::filesystem::path dir_;
  double every_s_;
  PanelLayout layout_;
  Renderer renderer_;
  ContactSheet sheet_;
  double next_s_;
  int count_ = 0;
  std::string error_;
};

} // namespace render
