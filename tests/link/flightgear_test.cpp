// The FlightGear link through its real UDP path on 127.0.0.1: a stream
// captured from FlightGear drives the panel; the panel's key events reach a
// listener as gaugehost-in lines; silence freezes the panel and says so.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "flight/tokens.h"
#include "link/flightgear/flightgear_source.h"
#include "session/session.h"

namespace live {
namespace {

using enum FgOut;

std::string source_dir() {
  return GAUGE_SOURCE_DIR;
}

std::vector<std::string> capture_lines() {
  std::ifstream in(source_dir() + "/tests/link/data/flightgear-c172p.csv");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') {
      lines.push_back(line);
    }
  }
  return lines;
}

struct RecordingBus : flight::TokenBus {
  std::map<uint32_t, double> tokens;
  double get(uint32_t id) const override {
    auto it = tokens.find(id);
    return it == tokens.end() ? 0 : it->second;
  }
  void set(uint32_t id, double value) override { tokens[id] = value; }
};

// Reads datagrams sent to it on 127.0.0.1, a stand-in for FlightGear's
// input side. Loopback delivers a datagram before its send returns, so a
// poll right after the send sees it.
struct Listener {
  UdpListener udp;
  Listener() {
    std::string error;
    EXPECT_TRUE(udp.open(0, error)) << error;
  }
  std::vector<std::string> take() {
    std::vector<std::string> lines;
    udp.poll(lines);
    return lines;
  }
};

// Sends the capture, one line each cycle, through UDP to the FlightGear
// source the session flies, and checks the panel's tokens after each.
class CaptureFeeder : public flight::FlightSource {
public:
  CaptureFeeder(std::unique_ptr<FlightGearSource> fg, std::vector<std::string> lines)
      : fg_(std::move(fg)), lines_(std::move(lines)) {
    std::string error;
    EXPECT_TRUE(to_fg_.open(fg_->listen_port(), error)) << error;
  }
  void step(double dt_s, flight::TokenBus &bus) override {
    to_fg_.send(lines_[next_] + "\n");
    fg_->step(dt_s, bus);
    check(*parse_fg_line(lines_[next_]), bus);
    ++next_;
  }
  void key_event(uint32_t id, int32_t value) override { fg_->key_event(id, value); }
  const flight::AircraftState &state() const override { return fg_->state(); }
  bool finished() const override { return next_ == lines_.size(); }
  double duration_s() const override { return 0; }
  const std::map<uint32_t, long> &undefined_key_events() const override {
    return fg_->undefined_key_events();
  }
  size_t checked() const { return next_; }
  const FlightGearSource &fg() const { return *fg_; }

private:
  // What each token must read for a line, in the token's unit, and how
  // close: the wire's own rounding carried through the unit.
  void check(const FgSample &f, flight::TokenBus &bus) {
    struct Row {
      uint32_t token;
      double expected;
      double tolerance;
    };
    const double day_s = std::floor(f[utc_day_s]);
    const std::string mhz = std::to_string(std::lround((f[com_mhz] - 100) * 100));
    const Row rows[] = {
        {flight::kTokenLatitude,         f[latitude_deg] * 60 * 1852.175925953, 1e-3                                      },
        {flight::kTokenAltitudeM,        f[altitude_ft] * 0.3048,               1e-6                                      },
        {flight::kTokenAltitudeRef256,   f[altitude_ft] * 0.3048 * 256,         1e-3                                      },
        {flight::kTokenAirspeedKt,       f[airspeed_kt],                        1e-9                                      },
        {flight::kTokenVerticalSpeed256, f[vertical_speed_fps] * 0.3048 * 256,  1e-6                                      },
        {flight::kTokenHeadingDeg,       f[heading_deg],                        1e-9                                      },
        {flight::kTokenPitchDeg,         f[pitch_deg],                          1e-9                                      },
        {flight::kTokenBankDeg,          f[roll_deg],                           1e-9                                      },
        {flight::kTokenWindSpeedKt,      f[wind_speed_kt],                      1e-9                                      },
        {flight::kTokenWindFromDeg,      f[wind_from_deg],                      1e-9                                      },
        {flight::kTokenAltimeterHpa,     f[altimeter_setting_hpa],              1e-9                                      },
        {flight::kTokenClockHours,       std::floor(day_s / 3600),              0                                         },
        {flight::kTokenClockSeconds,     std::fmod(day_s,                       60),                                        0},
        {flight::kTokenAirbrake,                              std::round(std::max(f[spoilers],                                              f[speedbrake]) * 16383),                            0},
        {flight::kTokenLever,                             f[gear_down] * 16383,                                                                  0                                                              },
        {flight::kTokenComBcd,                             static_cast<double>(std::stoul(mhz, nullptr,16)), 0},
        {flight::kTokenTank1CapacityGal,                       0,                                                        0                                                                                                                                       }, // the c172p carries no water
        {flight::kTokenOnGround, f[on_ground],               0},
    };
    for (const Row &r : rows) {
      EXPECT_NEAR(bus.get(r.token), r.expected, r.tolerance)
          << "token 0x" << std::hex << r.token << std::dec << " line " << next_;
    }
  }

  std::unique_ptr<FlightGearSource> fg_;
  std::vector<std::string> lines_;
  UdpSender to_fg_;
  size_t next_ = 0;
};

TEST(FlightGearLink, CapturedStreamDrivesThePanel) {
  const auto lines = capture_lines();
  ASSERT_GT(lines.size(), 100u);
  Listener fg_input;
  std::string error;
  auto fg = FlightGearSource::create({.listen_port = 0, .send_port = fg_input.udp.port()}, error);
  ASSERT_TRUE(fg) << error;
  session::SessionOptions o;
  o.panel_dir = source_dir() + "/examples/sailplane";
  o.module_dir = GAUGE_MODULE_DIR;
  o.wav = false;
  session::Session session(o);
  ASSERT_TRUE(session.open(error)) << error;
  auto feeder = std::make_unique<CaptureFeeder>(std::move(fg), lines);
  auto *f = feeder.get();
  ASSERT_TRUE(session.run(std::move(feeder), error)) << error;
  EXPECT_EQ(f->checked(), lines.size());
  EXPECT_EQ(f->fg().good_lines(), static_cast<long>(lines.size()));
  EXPECT_EQ(f->fg().bad_lines(), 0);
  EXPECT_EQ(f->fg().watch().gaps(), 0);
}

TEST(FlightGearLink, KeyEventsArriveAsInputLines) {
  Listener fg_input;
  std::string error;
  auto fg = FlightGearSource::create({.listen_port = 0, .send_port = fg_input.udp.port()}, error);
  ASSERT_TRUE(fg) << error;
  RecordingBus bus;
  fg->step(0.055, bus);
  // Each row follows the one before: the controls accumulate.
  struct Row {
    uint32_t id;
    int32_t value;
    const char *line; // "" when nothing is sent
  };
  const Row rows[] = {
      {flight::kKeyAirbrakeSet,   8192,   "0.5000,0.5000,0,123.100,1013.25,0"},
      {flight::kKeyAirbrakeSet,   16384,  "1.0000,1.0000,0,123.100,1013.25,0"},
      {flight::kKeyLeverSet,      16383,  "1.0000,1.0000,1,123.100,1013.25,0"},
      {flight::kKeyComWholeUp,    0,      "1.0000,1.0000,1,124.100,1013.25,0"},
      {flight::kKeyComFractDown,  0,      "1.0000,1.0000,1,124.050,1013.25,0"},
      {flight::kKeyComFractUp,    0,      "1.0000,1.0000,1,124.100,1013.25,0"},
      {flight::kKeyComSet,        0x3695, "1.0000,1.0000,1,136.950,1013.25,0"},
      {flight::kKeyComFractUp,    0,      "1.0000,1.0000,1,136.000,1013.25,0"},
      {flight::kKeyAltimeterDown, 0,      "1.0000,1.0000,1,136.000,1012.25,0"},
      {flight::kKeyAltimeterUp,   0,      "1.0000,1.0000,1,136.000,1013.25,0"},
      {flight::kKeyLeverSet,      0,      "1.0000,1.0000,0,136.000,1013.25,0"},
 // Dumping is sent once when it starts and once when it stops.
      {flight::kKeyDumpOn,        0,      "1.0000,1.0000,0,136.000,1013.25,1"},
      {flight::kKeyDumpOn,        0,      ""                                 },
      {flight::kKeyDumpOff,       0,      "1.0000,1.0000,0,136.000,1013.25,0"},
      {flight::kKeyDumpOff,       0,      ""                                 },
      {flight::kKeyEngineStart,   0,      ""                                 },
      {flight::kKeyThrottleFull,  0,      ""                                 },
  };
  for (const Row &r : rows) {
    fg->key_event(r.id, r.value);
    fg->step(0.055, bus); // the dump signal takes effect at the next cycle
    const auto got = fg_input.take();
    if (r.line[0] == '\0') {
      EXPECT_TRUE(got.empty()) << std::hex << r.id << ": " << (got.empty() ? "" : got[0]);
    } else {
      ASSERT_EQ(got.size(), 1u) << std::hex << r.id;
      EXPECT_EQ(got[0], r.line) << std::hex << r.id;
    }
  }
  // The panel shows its own settings without waiting for FlightGear's echo.
  EXPECT_EQ(bus.get(flight::kTokenAirbrake), 16383);
  EXPECT_EQ(bus.get(flight::kTokenComBcd), 0x3600);
  EXPECT_EQ(bus.get(flight::kTokenAltimeterHpa), 1013.25);
  const auto &none = fg->undefined_key_events();
  EXPECT_EQ(none.size(), 2u);
  EXPECT_EQ(none.count(flight::kKeyEngineStart), 1u);
  EXPECT_EQ(none.count(flight::kKeyThrottleFull), 1u);
}

TEST(FlightGearLink, SilenceFreezesThePanelAndDataResumesIt) {
  const auto lines = capture_lines();
  ASSERT_GT(lines.size(), 60u);
  Listener fg_input;
  std::string error;
  std::vector<std::string> statuses;
  auto fg =
      FlightGearSource::create({.listen_port = 0,
                                .send_port = fg_input.udp.port(),
                                .status = [&](const std::string &s) { statuses.push_back(s); }},
                               error);
  ASSERT_TRUE(fg) << error;
  UdpSender to_fg;
  ASSERT_TRUE(to_fg.open(fg->listen_port(), error)) << error;
  RecordingBus bus;
  const double dt = 0.1;
  // Rows: lines sent, then cycles of silence; the state after them.
  struct Row {
    int lines, silent_cycles;
    LinkState state;
  };
  const Row rows[] = {
      {0,  25, LinkState::waiting}, // 2.5 s: says so once, still waiting
      {20, 0,  LinkState::live   },
      {0,  19, LinkState::live   }, // 1.9 s: not yet
      {0,  2,  LinkState::stale  },
      {0,  30, LinkState::stale  },
      {1,  0,  LinkState::live   },
  };
  size_t next = 0;
  double frozen_altitude = 0;
  for (const Row &r : rows) {
    for (int i = 0; i < r.lines; ++i) {
      to_fg.send(lines[next++] + "\n");
      fg->step(dt, bus);
    }
    for (int i = 0; i < r.silent_cycles; ++i) {
      fg->step(dt, bus);
    }
    EXPECT_EQ(fg->watch().state(), r.state) << fg->watch().status();
    if (r.state == LinkState::stale) {
      EXPECT_EQ(bus.get(flight::kTokenAltitudeM), frozen_altitude);
    }
    frozen_altitude = bus.get(flight::kTokenAltitudeM);
  }
  EXPECT_EQ(bus.get(flight::kTokenAltitudeM), parse_fg_line(lines[next - 1])->v[7] * 0.3048);
  ASSERT_EQ(statuses.size(), 5u); // waiting, none yet, arriving, frozen, again
  EXPECT_NE(statuses[1].find("no data yet"), std::string::npos) << statuses[1];
  EXPECT_NE(statuses[3].find("frozen"), std::string::npos) << statuses[3];
  EXPECT_EQ(fg->watch().gaps(), 1);
}

TEST(FlightGearLink, TurnRateFromTheIndicatorOrTheHeading) {
  // Two lines 0.5 s apart; an aircraft without a turn indicator reports 0.
  struct Row {
    double indicator, heading_from_deg, heading_to_deg, expected_degs;
  };
  const Row rows[] = {
      {1.0,  90,  90,  3.0 }, // standard rate
      {-2.5, 90,  80,  -7.5}, // at the stop, heading notwithstanding
      {0.0,  90,  93,  6.0 }, // no indicator: from the heading
      {0.0,  359, 1,   4.0 }, // across north
      {0.0,  1,   359, -4.0},
  };
  const std::string base = capture_lines().front();
  for (const Row &r : rows) {
    Listener fg_input;
    std::string error;
    auto fg = FlightGearSource::create({.listen_port = 0, .send_port = fg_input.udp.port()}, error);
    ASSERT_TRUE(fg) << error;
    UdpSender to_fg;
    ASSERT_TRUE(to_fg.open(fg->listen_port(), error)) << error;
    RecordingBus bus;
    for (int i = 0; i < 2; ++i) {
      FgSample f = *parse_fg_line(base);
      f.v[static_cast<size_t>(elapsed_s)] = 100.0 + 0.5 * i;
      f.v[static_cast<size_t>(heading_deg)] = i == 0 ? r.heading_from_deg : r.heading_to_deg;
      f.v[static_cast<size_t>(turn_rate_indicated)] = r.indicator;
      std::string line;
      for (double v : f.v) {
        line += (line.empty() ? "" : ",") + std::to_string(v);
      }
      to_fg.send(line + "\n");
      fg->step(0.5, bus);
    }
    EXPECT_NEAR(bus.get(flight::kTokenTurnRate), r.expected_degs * 512 / 3, 1e-6)
        << r.indicator << " " << r.heading_from_deg << " " << r.heading_to_deg;
  }
}

TEST(FlightGearLink, ShippedProtocolFilesMatchTheReader) {
  struct Row {
    const char *file;
    std::string text;
  };
  const Row rows[] = {
      {"gaugehost-out.xml", fg_output_protocol_xml()},
      {"gaugehost-in.xml",  fg_input_protocol_xml() },
  };
  for (const Row &r : rows) {
    std::ifstream in(source_dir() + "/examples/flightgear/" + r.file);
    const std::string shipped((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    EXPECT_EQ(shipped, r.text) << r.file
                               << ": regenerate with gaugehost live flightgear --write-protocol";
  }
}

} // namespace
} // namespace live
