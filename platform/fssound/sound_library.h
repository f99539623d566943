// The one state of the sound stand-in: the registered modules' resources,
// the mixer, the recorder, the call log and the mix clock.
//
// Threading: the panel thread makes the sound calls, but a server thread may
// call sync(), so every entry point takes the library's one mutex for its
// whole run (mixing included). Nothing calls back out while it is held.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>

#include "platform/fssound/fssound_host.h"
#include "platform/fssound/mixer.h"
#include "platform/fssound/wav_recorder.h"
#include "platform/resources/resource_file.h"

namespace fssound {

// Oldest entries are dropped beyond this, so a host that never reads the
// log (lnav sets rate and volume ten times a second) does not grow forever.
inline constexpr size_t kMaxCallLog = 100000;

class SoundLibrary {
public:
  std::mutex &mutex() { return mutex_; }

  // Everything below expects the mutex held.

  // Mixes (and records, if recording) the time since the last catch-up by
  // the OS stand-in's clock. The first call after construction or reset
  // only sets the origin; a clock that went back sets it afresh.
  void catch_up();

  // False while the host has switched the call log off: callers then skip
  // building the record's text.
  bool logging() const { return logging_; }
  void set_logging(bool on);
  void log(const char *op, int32_t resource_id, std::string args, int64_t result,
           std::string error = {});
  // `dropped`, if given, receives how many entries were dropped since the
  // last take.
  std::vector<CallRecord> take_calls(uint64_t *dropped = nullptr);

  std::map<uint32_t, gaugeres::ResourceFile> &modules() { return modules_; }
  Mixer &mixer() { return mixer_; }
  WavRecorder &recorder() { return recorder_; }
  std::function<void(std::span<const int16_t>)> &listener() { return listener_; }

  void reset();

private:
  std::mutex mutex_;
  std::map<uint32_t, gaugeres::ResourceFile> modules_; // by host value
  Mixer mixer_;
  WavRecorder recorder_;
  std::function<void(std::span<const int16_t>)> listener_;
  std::deque<CallRecord> calls_;
  uint64_t calls_dropped_ = 0;
  bool logging_ = true;
  std::vector<int16_t> render_buffer_; // kept between catch-ups: no allocation per cycle
  bool clock_started_ = false;
  int64_t origin_ms_ = 0;     // clock reading at which mixed_frames_ was 0
  uint64_t mixed_frames_ = 0; // frames mixed since origin_ms_
};

// The library of this process.
SoundLibrary &library();

} // namespace fssound
