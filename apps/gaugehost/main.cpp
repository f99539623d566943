// gaugehost: the substitute host's command line. Subcommands:
//   script FILE|-     run console commands (see README)
//   list MODULE       list a module's gauges
//   fly [SCENARIO]    fly a scenario through the panel with the sailplane model
//   replay FILE.igc   fly a recorded flight's fixes through the panel
//   live flightgear|nmea  fly the panel live on FlightGear or an NMEA stream
//   window [PANEL]    a scenario or a replay in a window, in real time
#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "flight/igc/igc.h"
#include "flight/model/model_source.h"
#include "flight/replay/replay_source.h"
#include "flight/scenario/scenario.h"
#include "host/console.h"
#include "host/host.h"
#include "host/host_offset_server.h"
#include "host/panel_command.h"
#include "link/flightgear/flightgear_source.h"
#include "link/nmea/nmea_source.h"
#include "platform/fssound/fssound_host.h"
#include "render/flight_snapshots.h"
#include "render/snap_command.h"
#include "session/session.h"
#include "window/panel_window.h"

namespace {

std::filesystem::path default_panel_dir() {
  // The repository's example panel beside build/bin, else ./examples/sailplane.
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const auto candidate = exe.parent_path().parent_path().parent_path() / "examples/sailplane";
    if (std::filesystem::exists(candidate / "panel.cfg")) {
      return candidate;
    }
  }
  return "examples/sailplane";
}

std::filesystem::path default_output_dir(const std::string &kind) {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char name[64];
  std::strftime(name, sizeof name, "%Y%m%d-%H%M%S", &t);
  return std::filesystem::path("out") / (kind + "-" + name);
}

int run_script(const std::string &file, const std::filesystem::path &modules, bool real_time) {
  gaugehost::HostOptions options;
  options.module_dir = modules;
  options.virtual_time = !real_time;
  gaugehost::Host host(options);
  // FSUIPC is up in the host's own process, so durnik and ostrel find it.
  fsuipc_server::HostOffsetServer offset_server(host);
  gaugehost::Console console(host, std::cout);
  offset_server.add_console_commands(console);
  // snap panel draws a panel folder's gauges where its panel.cfg puts them,
  // and a script's own placements in rows.
  auto panel = std::make_shared<std::optional<gaugehost::PanelFile>>();
  gaugehost::add_panel_command(console, [panel](const gaugehost::PanelFile &p) { *panel = p; });
  render::add_snap_commands(
      console, std::make_shared<render::Renderer>(), [panel](gaugehost::Host &host, double scale) {
        return panel->has_value() ? render::panel_layout(**panel, scale)
                                  : render::row_layout(host, scale, static_cast<int>(1800 * scale));
      });
  int code = 0;
  if (file == "-") {
    code = console.run(std::cin, std::cerr);
  } else {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
      std::cerr << "cannot read script " << file << ": it is a folder\n";
      return 2;
    }
    std::ifstream in(file);
    if (!in) {
      std::cerr << "cannot open script " << file << "\n";
      return 2;
    }
    code = console.run(in, std::cerr);
  }
  // The WAV header is finished only now; a run whose recording could not be
  // finished has not succeeded.
  fssound::stop_recording();
  if (const std::string error = fssound::take_recording_error(); !error.empty()) {
    std::cerr << error << "\n";
    return code != 0 ? code : 2;
  }
  return code;
}

int run_list(const std::string &module, const std::filesystem::path &modules) {
  gaugehost::HostOptions options;
  options.module_dir = modules;
  gaugehost::Host host(options);
  std::string error;
  if (!host.load_module(module, error)) {
    std::cerr << error << "\n";
    return 2;
  }
  for (const auto &name : host.gauge_names(module)) {
    std::cout << module << "!" << name << "\n";
  }
  return 0;
}

struct FlyOptions {
  std::filesystem::path panel;
  std::filesystem::path modules;
  std::filesystem::path out;
  bool real_time = false;
  bool no_wav = false;
  double trace_interval_s = 1.0;
  int cycle_ms = 55;
  int units = 2;
  bool progress = true;
  bool outputs = true;     // false: files only with --out (the window)
  double snap_every_s = 0; // 0: no snapshots
};

int run_session(const FlyOptions &o, const std::string &kind, const std::string &title,
                const std::function<std::unique_ptr<flight::FlightSource>(std::string &)> &make,
                std::vector<double> reference_vario = {},
                const window::WindowOptions *window = nullptr) {
  session::SessionOptions so;
  so.panel_dir = std::filesystem::absolute(o.panel.empty() ? default_panel_dir() : o.panel);
  so.module_dir = o.modules;
  // Absolute: the session works in the panel folder.
  if (!o.out.empty() || o.outputs) {
    so.output_dir = std::filesystem::absolute(o.out.empty() ? default_output_dir(kind) : o.out);
  }
  so.real_time = o.real_time;
  so.cycle_ms = o.cycle_ms;
  so.wav = !o.no_wav;
  so.trace_interval_s = o.trace_interval_s;
  so.progress = o.progress;
  so.title = title;
  session::Session session(so);
  std::string error;
  auto source = make(error);
  if (!source) {
    std::cerr << error << "\n";
    return 2;
  }
  if (!session.open(error)) {
    std::cerr << error << "\n";
    return 2;
  }
  if (!reference_vario.empty()) {
    session.set_reference_vario(std::move(reference_vario));
  }
  std::unique_ptr<render::FlightSnapshots> snapshots;
  if (o.snap_every_s > 0 && !so.output_dir.empty()) {
    snapshots = std::make_unique<render::FlightSnapshots>(so.output_dir, o.snap_every_s,
                                                          render::panel_layout(session.panel()));
    session.set_cycle_observer(
        [&](const flight::AircraftState &s) { snapshots->after_cycle(s.time_s, session.host()); });
  }
  if (window != nullptr) {
    if (const int code = window::run_window(session, std::move(source), *window); code != 0) {
      return code;
    }
  } else if (!session.run(std::move(source), error)) {
    std::cerr << error << "\n";
    return 2;
  }
  if (snapshots && !snapshots->finish(error)) {
    std::cerr << error << "\n";
    return 2;
  }
  std::cout << session.summary().text();
  if (!so.output_dir.empty()) {
    std::cout << "\noutputs in " << so.output_dir.string() << " (summary.txt, trace.csv, keys.log"
              << (so.wav ? ", sound.wav" : "") << ", IGC logs"
              << (snapshots ? ", snap-*.png, contact-sheet.png" : "") << ")\n";
  }
  return 0;
}

// The scenario to fly: `scenario_file`, by default the panel folder's flight.scn.
std::filesystem::path scenario_path(const FlyOptions &o,
                                    const std::filesystem::path &scenario_file) {
  const auto panel = std::filesystem::absolute(o.panel.empty() ? default_panel_dir() : o.panel);
  return std::filesystem::absolute(scenario_file.empty() ? panel / "flight.scn" : scenario_file);
}

// The sailplane model flying the scenario `file`.
std::function<std::unique_ptr<flight::FlightSource>(std::string &)>
model_source(const FlyOptions &o, const std::filesystem::path &file) {
  const auto panel = std::filesystem::absolute(o.panel.empty() ? default_panel_dir() : o.panel);
  return [panel, file](std::string &error) {
    std::unique_ptr<flight::FlightSource> source;
    auto scenario = flight::read_scenario(file, error);
    if (scenario) {
      source = flight::ModelSource::create(*scenario, panel, error);
    }
    return source;
  };
}

// A replay of `igc_file`, with the log's own vario (VAT, cm/s) once a second
// from the first valid fix into `reference` when it has one.
std::unique_ptr<flight::FlightSource> replay_source(const std::filesystem::path &igc_file,
                                                    int units, std::vector<double> &reference,
                                                    std::string &error) {
  auto log = flight::read_igc(igc_file, error);
  if (!log) {
    return nullptr;
  }
  const int vat = log->extension_index("VAT");
  auto source = flight::ReplaySource::create(*log, units, error);
  if (!source) {
    error = igc_file.string() + ": " + error;
    return nullptr;
  }
  if (vat >= 0) {
    const double t0 = source->start_time_s();
    for (const auto &f : log->fixes) {
      const auto &v = f.extensions[static_cast<size_t>(vat)];
      if (!f.valid || !v || f.time_s < t0) {
        continue;
      }
      const auto i = static_cast<size_t>(std::lround(f.time_s - t0));
      if (reference.size() <= i) {
        reference.resize(i + 1, std::nan(""));
      }
      reference[i] = *v / 100.0;
    }
  }
  return source;
}

int replay(const FlyOptions &o, const std::filesystem::path &igc_file,
           const window::WindowOptions *window = nullptr) {
  std::vector<double> reference;
  std::string error;
  auto source = replay_source(igc_file, o.units, reference, error);
  if (!source) {
    std::cerr << error << "\n";
    return 2;
  }
  return run_session(
      o, "replay", "replay " + igc_file.string(),
      [&](std::string &) -> std::unique_ptr<flight::FlightSource> { return std::move(source); },
      std::move(reference), window);
}

void add_session_options(CLI::App *cmd, FlyOptions &o) {
  cmd->add_option("--panel", o.panel, "panel folder with panel.cfg (default examples/sailplane)");
  cmd->add_option("--modules", o.modules, "folder of the MODULE.so files");
  cmd->add_option("--out", o.out, "output folder (default out/KIND-DATE-TIME)");
  cmd->add_flag("--real-time", o.real_time, "pace the flight to the wall clock");
  cmd->add_flag("--no-wav", o.no_wav, "do not render the sound mix");
  cmd->add_option("--trace-interval", o.trace_interval_s,
                  "seconds between CSV trace rows (0: none)");
  cmd->add_option("--cycle-ms", o.cycle_ms, "update cycle, ms")->check(CLI::Range(10, 1000));
}

void add_snap_options(CLI::App *cmd, FlyOptions &o) {
  cmd->add_option("--snap-every", o.snap_every_s,
                  "a picture of the panel every S seconds of flight (snap-HH-MM-SS.png) and a "
                  "contact sheet of them at the end (contact-sheet.png)")
      ->check(CLI::PositiveNumber);
}

void add_window_options(CLI::App *cmd, window::WindowOptions &w) {
  cmd->add_option("--scale", w.scale, "window pixels per panel pixel (default 0.75)")
      ->check(CLI::PositiveNumber);
  cmd->add_option("--seconds", w.seconds, "close after this many seconds (default: when closed)");
  cmd->add_flag("--print-layout", w.print_layout,
                "print each gauge's rectangle in the window at the start");
}

// Ctrl-C ends a live flight; the session then writes its outputs.
std::atomic<bool> g_stop_live{false};
extern "C" void stop_live(int) {
  g_stop_live = true;
}

struct LiveOptions {
  std::string source;
  uint16_t port = 0; // 0: the source's default
  uint16_t send_port = live::kFgDefaultSendPort;
  std::filesystem::path file;
  bool tcp = false;
  double duration_s = 0;
  std::filesystem::path write_protocol; // write the FlightGear protocol files there and stop
};

int write_fg_protocols(const std::filesystem::path &dir) {
  const std::pair<const char *, std::string> files[] = {
      {"gaugehost-out.xml", live::fg_output_protocol_xml()},
      {"gaugehost-in.xml",  live::fg_input_protocol_xml() },
  };
  for (const auto &[name, text] : files) {
    std::ofstream out(dir / name);
    if (!(out << text)) {
      std::cerr << (dir / name).string() << ": cannot write\n";
      return 2;
    }
    std::cout << "wrote " << (dir / name).string() << "\n";
  }
  return 0;
}

int run_live(FlyOptions o, const LiveOptions &l, const window::WindowOptions *window) {
  o.real_time = true;
  o.progress = false;
  if (window == nullptr) {
    // With a window SDL turns these signals into closing it.
    std::signal(SIGINT, stop_live);
    std::signal(SIGTERM, stop_live);
  }
  const auto status = [](const std::string &text) {
    std::cerr << "gaugehost live: " << text << std::endl;
  };
  if (l.source == "flightgear") {
    if (!l.write_protocol.empty()) {
      return write_fg_protocols(l.write_protocol);
    }
    return run_session(
        o, "live-flightgear", "live FlightGear",
        [&](std::string &error) {
          live::FlightGearOptions fo;
          fo.listen_port = l.port != 0 ? l.port : live::kFgDefaultListenPort;
          fo.send_port = l.send_port;
          fo.duration_s = l.duration_s;
          fo.stop = &g_stop_live;
          fo.status = status;
          std::unique_ptr<flight::FlightSource> source = live::FlightGearSource::create(fo, error);
          return source;
        },
        {}, window);
  }
  return run_session(
      o, "live-nmea", "live NMEA",
      [&](std::string &error) {
        live::NmeaOptions no;
        no.transport = !l.file.empty() ? live::NmeaTransport::file
                       : l.tcp         ? live::NmeaTransport::tcp
                                       : live::NmeaTransport::udp;
        no.port = l.port != 0 ? l.port : live::kNmeaDefaultPort;
        no.file = l.file;
        no.duration_s = l.duration_s;
        no.stop = &g_stop_live;
        no.status = status;
        std::unique_ptr<flight::FlightSource> source = live::NmeaSource::create(no, error);
        return source;
      },
      {}, window);
}

} // namespace

int main(int argc, char **argv) {
  CLI::App app{"gaugehost: the sailplane cockpit's substitute host"};
  app.require_subcommand(1);
  std::filesystem::path modules;
  bool real_time = false;

  std::string script_file;
  auto *script =
      app.add_subcommand("script", "run console commands from FILE (- for standard input)");
  script->add_option("FILE", script_file, "script file")->required();
  script->add_option("--modules", modules, "folder of the MODULE.so files");
  script->add_flag("--real-time", real_time, "use the wall clock instead of virtual time");

  std::string list_module;
  auto *list = app.add_subcommand("list", "list a module's gauges");
  list->add_option("MODULE", list_module, "module name")->required();
  list->add_option("--modules", modules, "folder of the MODULE.so files");

  FlyOptions fly_options;
  std::filesystem::path scenario_file;
  auto *fly = app.add_subcommand("fly", "fly a scenario with the sailplane model");
  fly->add_option("SCENARIO", scenario_file, "scenario file (default: the panel's flight.scn)");
  add_session_options(fly, fly_options);
  add_snap_options(fly, fly_options);

  FlyOptions replay_options;
  std::filesystem::path igc_file;
  auto *replay_cmd = app.add_subcommand("replay", "fly a recorded IGC log through the panel");
  replay_cmd->add_option("FILE", igc_file, "IGC file")->required()->check(CLI::ExistingFile);
  add_session_options(replay_cmd, replay_options);
  add_snap_options(replay_cmd, replay_options);

  FlyOptions window_fly;
  window_fly.outputs = false;
  window::WindowOptions window_options;
  std::filesystem::path window_scenario, window_replay;
  auto *window_cmd = app.add_subcommand(
      "window", "the panel in a window, flying a scenario (default: the panel's flight.scn) or a "
                "replay in real time");
  window_cmd->add_option("PANEL", window_fly.panel,
                         "panel folder with panel.cfg (default examples/sailplane)");
  auto *scenario_opt = window_cmd->add_option("--scenario", window_scenario, "scenario file to fly")
                           ->check(CLI::ExistingFile);
  window_cmd->add_option("--replay", window_replay, "IGC file to replay")
      ->check(CLI::ExistingFile)
      ->excludes(scenario_opt);
  window_cmd->add_option("--modules", window_fly.modules, "folder of the MODULE.so files");
  window_cmd->add_option("--out", window_fly.out,
                         "write the flight's outputs (as fly does) into this folder");
  add_window_options(window_cmd, window_options);
  window_cmd->footer(
      "Keys: B airbrakes, Up/Down speed, Left/Right circle (again: straight), P or Space pause,\n"
      "1/2/3 time x1/x4/x16, F12 snapshot, Esc or Q quit. A flying key takes over from the\n"
      "scenario's pilot.");

  FlyOptions live_fly;
  LiveOptions live_options;
  auto *live_cmd = app.add_subcommand(
      "live", "fly the panel in real time on FlightGear (generic protocol over udp) or NMEA");
  live_cmd->add_option("SOURCE", live_options.source, "flightgear or nmea")
      ->required()
      ->check(CLI::IsMember({"flightgear", "nmea"}));
  live_cmd->add_option("--port", live_options.port,
                       "flightgear: udp port to listen on (default 5500); nmea: udp port to "
                       "listen on, or with --tcp the local port to connect to (default 10110)");
  live_cmd->add_option(
      "--send-port", live_options.send_port,
      "flightgear: udp port FlightGear listens on for gaugehost-in (default 5501)");
  live_cmd->add_option("--file", live_options.file, "nmea: play an NMEA log instead")
      ->check(CLI::ExistingFile);
  live_cmd->add_flag("--tcp", live_options.tcp, "nmea: connect to a local NMEA server over tcp");
  live_cmd->add_option("--duration", live_options.duration_s,
                       "stop after this many seconds (default: run until Ctrl-C)");
  live_cmd
      ->add_option("--write-protocol", live_options.write_protocol,
                   "flightgear: write gaugehost-out.xml and gaugehost-in.xml into this "
                   "folder (FlightGear's Protocol/) and stop")
      ->check(CLI::ExistingDirectory);
  add_session_options(live_cmd, live_fly);
  bool live_window = false;
  window::WindowOptions live_window_options;
  live_window_options.live = true;

  live_cmd->add_flag("--window", live_window, "show the panel in a window");
  add_window_options(live_cmd, live_window_options);

  CLI11_PARSE(app, argc, argv);

  if (*live_cmd) {
    live_window_options.title = "gaugehost - live " + live_options.source;
    return run_live(live_fly, live_options, live_window ? &live_window_options : nullptr);
  }
  if (*window_cmd) {
    if (!window_replay.empty()) {
      window_options.title = "gaugehost - replay " + window_replay.filename().string();
      return replay(window_fly, window_replay, &window_options);
    }
    const auto file = scenario_path(window_fly, window_scenario);
    window_options.title = "gaugehost - fly " + file.filename().string();
    return run_session(window_fly, "window", "fly " + file.string(), model_source(window_fly, file),
                       {}, &window_options);
  }
  if (*script) {
    return run_script(script_file, modules, real_time);
  }
  if (*list) {
    return run_list(list_module, modules);
  }
  if (*fly) {
    const auto file = scenario_path(fly_options, scenario_file);
    return run_session(fly_options, "fly", "fly " + file.string(), model_source(fly_options, file));
  }
  return replay(replay_options, igc_file);
}
