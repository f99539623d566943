// Host-side control of the sound stand-in: which module a host value stands
// for, the call log, and rendering the mix to a WAV file. Ordinary C++.
//
// The mixer follows the OS stand-in's clock (real or virtual): every sound
// call and every sync() first mixes the time that has passed since the last,
// so a one-shot sound ends when its samples run out in host time.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace gaugeres {
class ResourceFile;
}

namespace fssound {

// The host value passed with gauge service 3 for the module file at `path`;
// sound_load reads that module's SOUND resources. Returns false with `error`
// set if the module's resources cannot be read. Registering a host value
// again replaces its resources; sounds already loaded keep their samples.
bool register_module(uint32_t host_value, const std::string &path, std::string *error);
// The same from resources already in memory (tests).
void register_resources(uint32_t host_value, const gaugeres::ResourceFile &resources);
// Forgets the module and stops and frees every sound loaded from it: its
// handles become unknown.
void unregister_module(uint32_t host_value);

struct CallRecord {
  std::string op;      // "sound_load", "sound_play", ...
  int32_t resource_id; // the sound's resource id, or the id asked for by sound_load;
                       // 0 for an unknown handle
  std::string args;    // further arguments as text, e.g. "loop=1" or "rate=24560"
  int64_t result;      // 0 for operations without a result
  std::string error;   // why a call failed, e.g. "unknown handle 7"; empty on success
};
// Calls since the last take, oldest first (at most the last 100000);
// `dropped`, if given, receives how many older calls were dropped.
std::vector<CallRecord> take_calls(uint64_t *dropped = nullptr);
// Switches the call log on (the default) or off. Off, the sound calls keep
// no record and build no text (a session that never reads the log; the
// allocation test). Switching it off forgets what it holds.
void set_call_log(bool on);

// From now on the mix is written to a 44.1 kHz 16-bit stereo WAV file at
// `path` as time passes. Returns false with `error` set if it cannot be
// opened. A recording already running is finished first.
bool start_recording(const std::string &path, std::string *error);
// Mixes up to now, finishes the header and closes the file (also done at
// exit).
void stop_recording();
// Why the last recording failed (a write, or finishing the file), naming the
// file; empty if none failed since the last take. A failed recording has
// ended: nothing more is written to its file.
std::string take_recording_error();

// From now on every mixed stretch is also handed to `listener` as interleaved
// 44.1 kHz 16-bit stereo (a sound device, for example), on the thread that
// moves the mix on, with the library's lock held: the listener must not call
// back into the sound library. An empty function removes it.
void set_mix_listener(std::function<void(std::span<const int16_t> frames)> listener);

// Mixes up to the clock's present.
void sync();

// Number of sounds playing now.
int playing_count();

// Forgets every sound, module and log entry and finishes any recording (the
// host's unload, tests). The next call starts the mix clock afresh.
void reset();

} // namespace fssound
