#include "window/panel_window.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <vector>

#include "platform/fssound/fssound_host.h"
#include "platform/fssound/mixer.h"
#include "platform/os/os_host.h"

namespace window {
namespace {

// Queued sound beyond this is dropped: the mix runs ahead of the device only
// when the clock is fast, and then the pitch would be wrong anyway.
constexpr double kMaxQueuedAudioS = 0.25;
// After a dialog or a stall, flight time catches up by at most this much.
constexpr int64_t kMaxCatchUpMs = 1000;

struct Held {
  std::string gauge;
  int x = 0, y = 0;
  uint64_t next_ms = 0;
};

struct Hit {
  std::string gauge;
  int x = 0, y = 0;
  bool repeats = false;
};

// The gauge under window point (wx, wy) and the point in its design pixels.
std::optional<Hit> hit_test(gaugehost::Host &host, const render::PanelLayout &layout, int wx,
                            int wy) {
  for (const auto &place : layout.gauges) {
    const auto &r = place.place;
    if (wx < r.x || wy < r.y || wx >= r.x + r.width || wy >= r.y + r.height) {
      continue;
    }
    gaugehost::PlacedGauge *gauge = host.gauge(place.name);
    if (gauge == nullptr) {
      return std::nullopt;
    }
    const render::Rect design = render::design_rect(*gauge);
    Hit hit{place.name, static_cast<int>((wx - r.x) * design.width / r.width),
            static_cast<int>((wy - r.y) * design.height / r.height), false};
    // The innermost rectangle under the point decides, as the host's dispatch does.
    const gaugehost::MouseTarget *inner = nullptr;
    for (const auto &t : gauge->mouse_targets) {
      const bool inside =
          hit.x >= t.x && hit.x < t.x + t.width && hit.y >= t.y && hit.y < t.y + t.height;
      if (inside && (t.rectangle->event_mask & kMouseClick) != 0 &&
          (inner == nullptr || t.depth > inner->depth)) {
        inner = &t;
      }
    }
    hit.repeats = inner != nullptr && (inner->rectangle->event_mask & kMouseStepRepeat) != 0;
    return hit;
  }
  return std::nullopt;
}

class SoundDevice {
public:
  SoundDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      return;
    }
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(fssound::kMixRateHz);
    want.format = AUDIO_S16SYS;
    want.channels = fssound::kMixChannels;
    want.samples = 1024;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device_ == 0) {
      return;
    }
    SDL_PauseAudioDevice(device_, 0);
    fssound::set_mix_listener([this](std::span<const int16_t> frames) {
      const double queued_s =
          SDL_GetQueuedAudioSize(device_) / (4.0 * fssound::kMixRateHz); // 2 channels x 2 bytes
      if (live_ && queued_s < kMaxQueuedAudioS) {
        SDL_QueueAudio(device_, frames.data(), static_cast<Uint32>(frames.size_bytes()));
      }
    });
  }
  ~SoundDevice() {
    if (device_ != 0) {
      fssound::set_mix_listener(nullptr);
      SDL_CloseAudioDevice(device_);
    }
  }
  SoundDevice(const SoundDevice &) = delete;
  SoundDevice &operator=(const SoundDevice &) = delete;

  bool open() const { return device_ != 0; }
  // Sound plays only while flight time runs at the wall clock's pace.
  void set_live(bool live) {
    live_ = live;
    if (!live && device_ != 0) {
      SDL_ClearQueuedAudio(device_);
    }
  }

private:
  SDL_AudioDeviceID device_ = 0;
  bool live_ = true;
};

// A hash of everything a gauge's picture depends on: its element values and
// shown texts. Equal signatures draw equal pictures.
uint64_t picture_signature(const gaugehost::PlacedGauge &gauge) {
  uint64_t hash = 1469598103934665603ULL; // FNV-1a
  const auto mix = [&hash](const void *data, size_t size) {
    const auto *bytes = static_cast<const unsigned char *>(data);
    for (size_t i = 0; i < size; ++i) {
      hash = (hash ^ bytes[i]) * 1099511628211ULL;
    }
  };
  for (const auto &state : gauge.elements) {
    mix(state.values, sizeof state.values);
    mix(state.text.data(), state.text.size() + 1);
  }
  return hash;
}

// "12:34  1234 m  95 km/h": flight time, altitude and airspeed.
std::string flight_status(const flight::AircraftState &s) {
  char text[128];
  const long seconds = std::lround(s.time_s);
  std::snprintf(text, sizeof text, "%ld:%02ld  %.0f m  %.0f km/h", seconds / 60, seconds % 60,
                s.altitude_m, s.airspeed_mps * 3.6);
  return text;
}

} // namespace

int run_window(session::Session &session, std::unique_ptr<flight::FlightSource> source,
               const WindowOptions &options) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::cerr << "window: cannot start SDL video: " << SDL_GetError() << "\n";
    return 2;
  }
  gaugehost::Host &host = session.host();
  const render::PanelLayout layout = render::panel_layout(session.panel(), options.scale);
  SDL_Window *sdl_window =
      SDL_CreateWindow(options.title.c_str(), 0, 0, std::max(1, layout.width_px),
                       std::max(1, layout.height_px), SDL_WINDOW_SHOWN);
  SDL_Surface *screen = sdl_window ? SDL_GetWindowSurface(sdl_window) : nullptr;
  if (screen == nullptr) {
    std::cerr << "window: cannot open the window: " << SDL_GetError() << "\n";
    SDL_Quit();
    return 2;
  }
  if (options.print_layout) {
    for (const auto &g : layout.gauges) {
      std::printf("gauge %s %d %d %d %d\n", g.name.c_str(), static_cast<int>(g.place.x),
                  static_cast<int>(g.place.y), static_cast<int>(g.place.width),
                  static_cast<int>(g.place.height));
    }
    std::fflush(stdout);
  }
  std::string error;
  if (!session.start(std::move(source), error)) {
    std::cerr << "window: " << error << "\n";
    SDL_DestroyWindow(sdl_window);
    return 2;
  }
  flight::FlightSource &flight = session.source();
  platform_os::set_message_box_echo(false);
  const auto pilot = [&flight](flight::PilotControl control) {
    if (!flight.pilot(control)) {
      std::cerr << "window: no pilot to steer in this flight\n";
    }
  };

  SoundDevice sound;
  render::Renderer renderer;
  // The panel is drawn into `frame`; a gauge is drawn again only when one of
  // its element values changed, and only changed rectangles reach the screen.
  render::Surface frame(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, layout.width_px, layout.height_px));
  cairo_t *cr = cairo_create(frame.get());
  SDL_Surface *frame_pixels = SDL_CreateRGBSurfaceWithFormatFrom(
      cairo_image_surface_get_data(frame.get()), layout.width_px, layout.height_px, 32,
      cairo_image_surface_get_stride(frame.get()), SDL_PIXELFORMAT_ARGB8888);
  std::map<std::string, uint64_t> drawn; // gauge -> signature of what its picture shows
  bool redraw_all = true;

  int factor_index = 0;
  bool paused = false, running = true;
  std::optional<Held> held;
  std::string shown_title;
  const uint64_t start_ms = SDL_GetTicks64();
  uint64_t last_ms = start_ms;
  double owed_ms = 0; // flight time due but not yet run (fractions of a cycle)
  uint64_t frames = 0;
  const int64_t cycle_ms = session.cycle_ms();
  bool failed = false;

  while (running) {
    const uint64_t frame_start_ms = SDL_GetTicks64();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) {
        running = false;
      } else if (event.type == SDL_WINDOWEVENT) {
        screen = SDL_GetWindowSurface(sdl_window); // may be new after an expose or resize
        redraw_all = true;
      } else if (event.type == SDL_KEYDOWN && event.key.repeat == 0) {
        switch (event.key.keysym.sym) {
        case SDLK_ESCAPE:
        case SDLK_q:
          running = false;
          break;
        case SDLK_b:
          pilot(flight::PilotControl::AirbrakesToggle);
          break;
        case SDLK_UP:
          pilot(flight::PilotControl::SpeedUp);
          break;
        case SDLK_DOWN:
          pilot(flight::PilotControl::SpeedDown);
          break;
        case SDLK_LEFT:
          pilot(flight::PilotControl::CircleLeft);
          break;
        case SDLK_RIGHT:
          pilot(flight::PilotControl::CircleRight);
          break;
        case SDLK_p:
        case SDLK_SPACE:
          paused = !paused && !options.live;
          break;
        case SDLK_1:
        case SDLK_2:
        case SDLK_3:
          if (!options.live) {
            factor_index = static_cast<int>(event.key.keysym.sym - SDLK_1);
          }
          break;
        case SDLK_F12: {
          std::string error;
          if (!render::write_png(frame.get(), options.snapshot_path, error)) {
            std::cerr << "window: " << error << "\n";
          }
          break;
        }
        default:
          break;
        }
      } else if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
        if (auto hit = hit_test(host, layout, event.button.x, event.button.y)) {
          std::string error;
          host.click(hit->gauge, hit->x, hit->y, kMouseClick, error);
          if (hit->repeats) {
            held = Held{hit->gauge, hit->x, hit->y, frame_start_ms + kRepeatDelayMs};
          }
        }
      } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
        held.reset();
      }
    }
    // Held stepping buttons: one click per period, however the frames fall.
    while (held && frame_start_ms >= held->next_ms) {
      std::string error;
      host.click(held->gauge, held->x, held->y, kMouseClick | kMouseStepRepeat, error);
      held->next_ms += kRepeatPeriodMs;
    }

    const int factor = kTimeFactors[factor_index];
    sound.set_live(!paused && factor == 1);
    const uint64_t now_ms = SDL_GetTicks64();
    const int64_t wall_ms =
        std::min<int64_t>(static_cast<int64_t>(now_ms - last_ms), kMaxCatchUpMs);
    last_ms = now_ms;
    const bool over = flight.finished() || failed;
    if (paused || over) {
      host.walk(); // the gauges still answer their buttons
    } else {
      // Whole update cycles of flight time, as many as the wall clock owes.
      owed_ms += static_cast<double>(wall_ms) * factor;
      for (; owed_ms >= static_cast<double>(cycle_ms) && !flight.finished();
           owed_ms -= static_cast<double>(cycle_ms)) {
        if (!session.step(error)) {
          std::cerr << "window: " << error << "\n";
          failed = true;
          break;
        }
      }
    }
    for (const auto &box : platform_os::take_message_boxes()) {
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, box.caption.c_str(), box.text.c_str(),
                               sdl_window);
      last_ms = SDL_GetTicks64(); // the panel waited for the pilot
    }

    std::vector<SDL_Rect> dirty;
    if (redraw_all) {
      renderer.draw_panel(cr, host, layout);
      dirty.push_back({0, 0, layout.width_px, layout.height_px});
      drawn.clear();
    }
    for (const auto &place : layout.gauges) {
      const gaugehost::PlacedGauge *gauge = host.gauge(place.name);
      const uint64_t signature = gauge != nullptr ? picture_signature(*gauge) : 0;
      const auto found = drawn.find(place.name);
      if (found != drawn.end() && found->second == signature) {
        continue;
      }
      drawn[place.name] = signature;
      if (redraw_all || gauge == nullptr) {
        continue;
      }
      const auto &r = place.place;
      cairo_save(cr);
      cairo_rectangle(cr, r.x, r.y, r.width, r.height);
      cairo_set_source_rgb(cr, render::kPanelGrey, render::kPanelGrey, render::kPanelGrey);
      cairo_fill(cr);
      cairo_restore(cr);
      renderer.draw_gauge(cr, *gauge, r);
      dirty.push_back({static_cast<int>(std::floor(r.x)), static_cast<int>(std::floor(r.y)),
                       static_cast<int>(std::ceil(r.width)) + 1,
                       static_cast<int>(std::ceil(r.height)) + 1});
    }
    redraw_all = false;
    if (!dirty.empty()) {
      cairo_surface_flush(frame.get());
      for (SDL_Rect rect : dirty) {
        SDL_Rect target = rect;
        SDL_BlitSurface(frame_pixels, &rect, screen, &target);
      }
      SDL_UpdateWindowSurfaceRects(sdl_window, dirty.data(), static_cast<int>(dirty.size()));
    }
    ++frames;

    std::string title = options.title + " - x" + std::to_string(factor) + " - " +
                        flight_status(flight.state()) + (paused ? " - paused" : "") +
                        (over ? " - flight over" : "") + (sound.open() ? "" : " - no sound device");
    if (title != shown_title) {
      SDL_SetWindowTitle(sdl_window, title.c_str());
      shown_title = title;
    }
    if (options.seconds > 0 && (SDL_GetTicks64() - start_ms) >= options.seconds * 1000) {
      running = false;
    }
    const uint64_t spent_ms = SDL_GetTicks64() - frame_start_ms;
    const uint64_t frame_ms = 1000 / kTargetFps;
    if (running && spent_ms < frame_ms) {
      SDL_Delay(static_cast<Uint32>(frame_ms - spent_ms));
    }
  }
  const double elapsed_s = static_cast<double>(SDL_GetTicks64() - start_ms) / 1000.0;
  std::printf("window: %llu frames in %.1f s, %.1f frames per second\n",
              static_cast<unsigned long long>(frames), elapsed_s,
              elapsed_s > 0 ? static_cast<double>(frames) / elapsed_s : 0.0);
  session.finish();
  SDL_FreeSurface(frame_pixels);
  cairo_destroy(cr);
  SDL_DestroyWindow(sdl_window);
  // No SDL_Quit: the process ends next, and SDL's video shutdown unloads the
  // X libraries it opened, which turns their caches into reported leaks.
  return failed ? 2 : 0;
}

} // namespace window
