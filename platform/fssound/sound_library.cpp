#include "platform/fssound/sound_library.h"

#include <cstdlib>
#include <vector>

#include "platform/os/os.h"

namespace fssound {
namespace {

// Frames rendered per recorder write: 93 ms, a bounded buffer for long gaps.
constexpr uint64_t kRenderChunkFrames = 4096;

} // namespace

void SoundLibrary::catch_up() {
  const int64_t now_ms = os_clock_now_ms();
  if (!clock_started_ || now_ms < origin_ms_) {
    clock_started_ = true;
    origin_ms_ = now_ms;
    mixed_frames_ = 0;
    return;
  }
  // Whole frames due by now; counting from a fixed origin keeps the
  // fraction of a frame in each millisecond from drifting.
  const uint64_t due = static_cast<uint64_t>(now_ms - origin_ms_) * kMixRateHz / 1000;
  if (due < mixed_frames_) {
    // The clock went back inside the mixed span: start counting afresh.
    origin_ms_ = now_ms;
    mixed_frames_ = 0;
    return;
  }
  uint64_t frames = due - mixed_frames_;
  if (frames == 0) {
    return; // every sound call catches up first: most find nothing to mix
  }
  mixed_frames_ = due;
  if (!recorder_.is_open() && !listener_) {
    mixer_.skip(frames);
    return;
  }
  while (frames > 0 && (recorder_.is_open() || listener_)) {
    const uint64_t chunk = std::min(frames, kRenderChunkFrames);
    render_buffer_.resize(chunk * kMixChannels);
    mixer_.render(render_buffer_);
    if (recorder_.is_open()) {
      recorder_.write(render_buffer_);
    }
    if (listener_) {
      listener_(render_buffer_);
    }
    frames -= chunk;
  }
  mixer_.skip(frames); // what is left if the recording ended on the way
}

void SoundLibrary::set_logging(bool on) {
  logging_ = on;
  if (!on) {
    calls_.clear();
    calls_dropped_ = 0;
  }
}

void SoundLibrary::log(const char *op, int32_t resource_id, std::string args, int64_t result,
                       std::string error) {
  if (!logging_) {
    return;
  }
  if (calls_.size() >= kMaxCallLog) {
    calls_.pop_front();
    ++calls_dropped_;
  }
  calls_.push_back({.op = op,
                    .resource_id = resource_id,
                    .args = std::move(args),
                    .result = result,
                    .error = std::move(error)});
}

std::vector<CallRecord> SoundLibrary::take_calls(uint64_t *dropped) {
  std::vector<CallRecord> out(std::make_move_iterator(calls_.begin()),
                              std::make_move_iterator(calls_.end()));
  calls_.clear();
  if (dropped != nullptr) {
    *dropped = calls_dropped_;
  }
  calls_dropped_ = 0;
  return out;
}

void SoundLibrary::reset() {
  recorder_.close();
  mixer_.clear();
  modules_.clear();
  calls_.clear();
  calls_dropped_ = 0;
  clock_started_ = false;
  origin_ms_ = 0;
  mixed_frames_ = 0;
}

SoundLibrary &library() {
  // Never destroyed, so a host object torn down late at exit can still call
  // in; an exit hook finishes the WAV header of a recording nobody stopped.
  static SoundLibrary *const instance = [] {
    auto *lib = new SoundLibrary;
    std::atexit([] {
      std::lock_guard lock(library().mutex());
      library().recorder().close();
    });
    return lib;
  }();
  return *instance;
}

} // namespace fssound
