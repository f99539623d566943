// Replay of the three real logs, and the panel flown by a replay and by a
// fixed position: gpsnav's distance against a geodesic, lnav's TE average
// against the logger's own vario; the summary's climbs and glides.
#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>

#include "flight/geo.h"
#include "flight/igc/igc.h"
#include "flight/replay/replay_source.h"
#include "flight/tokens.h"
#include "host/host.h"
#include "session/session.h"
#include "session/summary.h"

namespace flight {
namespace {

std::string data_dir() {
  return std::string(GAUGE_SOURCE_DIR) + "/tests/data/";
}

struct NullBus : TokenBus {
  double get(uint32_t) const override { return 0; }
  void set(uint32_t, double) override {}
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

TEST(Replay, EachLogReplaysToItsEndAndAgreesWithItsFixes) {
  struct Row {
    const char *file;
    int valid_fixes;
    const char *airspeed;
  };
  const Row rows[] = {
      {"18BF14K1.igc", 202,  "wind"},
      {"0asljd01.igc", 4020, "TAS" },
      {"01lz1hq1.igc", 4952, "IAS" }
  };
  for (const Row &row : rows) {
    std::string error;
    auto log = read_igc(data_dir() + row.file, error);
    ASSERT_TRUE(log) << error;
    auto replay = ReplaySource::create(*log, 2, error);
    ASSERT_TRUE(replay) << row.file << ": " << error;
    EXPECT_EQ(replay->airspeed_source(), row.airspeed) << row.file;
    NullBus bus;
    double last_time = -1;
    while (!replay->finished()) {
      replay->step(0.5, bus);
      last_time = replay->state().time_s;
    }
    EXPECT_NEAR(last_time, replay->duration_s(), 0.5) << row.file;
    // Ground speed and track at each fix against the chord of its neighbours.
    std::vector<const IgcFix *> valid;
    for (const IgcFix &f : log->fixes) {
      if (f.valid && (valid.empty() || f.time_s > valid.back()->time_s)) {
        valid.push_back(&f);
      }
    }
    EXPECT_EQ(static_cast<int>(valid.size()), row.valid_fixes) << row.file;
    std::vector<double> speed_error, track_error;
    AircraftState s;
    for (size_t i = 1; i + 1 < valid.size(); ++i) {
      const IgcFix &a = *valid[i - 1], &b = *valid[i + 1];
      const double dt = b.time_s - a.time_s;
      const LatLon pa{a.latitude_deg, a.longitude_deg}, pb{b.latitude_deg, b.longitude_deg};
      const double chord = distance_m(pa, pb) / dt;
      if (dt > 10 || chord < 15) {
        continue;
      }
      replay->evaluate(valid[i]->time_s, s);
      speed_error.push_back(std::fabs(s.ground_speed_mps - chord));
      track_error.push_back(std::fabs(angle_difference(s.track_deg, bearing_deg(pa, pb))));
    }
    EXPECT_LT(median(speed_error), 1.5) << row.file;
    EXPECT_LT(median(track_error), 8.0) << row.file;
  }
}

// Stands still at one position: gpsnav's navigation page shows the distance
// to the home turnpoint.
class FixedPosition : public FlightSource {
public:
  explicit FixedPosition(LatLon p) {
    state_.latitude_deg = p.latitude_deg;
    state_.longitude_deg = p.longitude_deg;
    state_.altitude_m = 1000;
    state_.airspeed_mps = 30;
  }
  void step(double dt, TokenBus &bus) override {
    state_.time_s += dt;
    publish_state(state_, bus, false);
  }
  void key_event(uint32_t, int32_t) override {}
  const AircraftState &state() const override { return state_; }
  bool finished() const override { return state_.time_s > 6; }
  double duration_s() const override { return 6; }
  std::vector<PanelClick> take_clicks() override {
    if (clicked_) {
      return {};
    }
    clicked_ = true;
    return {
        {"gpsnav", "ON", 1, 0, false}
    };
  }
  const std::map<uint32_t, long> &undefined_key_events() const override { return none_; }

private:
  AircraftState state_;
  bool clicked_ = false;
  std::map<uint32_t, long> none_;
};

std::filesystem::path velmar_panel() {
  const auto dir = std::filesystem::path(GAUGE_BINARY_DIR) / "test-out" / "velmar-panel";
  std::filesystem::create_directories(dir);
  const auto src = std::filesystem::path(GAUGE_SOURCE_DIR) / "examples" / "sailplane";
  for (const char *f : {"RUR-UDI.dat", "LNAV_polar.dat"}) {
    std::filesystem::copy_file(src / f, dir / f, std::filesystem::copy_options::overwrite_existing);
  }
  std::ofstream(dir / "panel.cfg") << "[Window]\ngauge00=velmar!gpsnav, 0, 0, 315, 315\n"
                                      "gauge01=velmar!lnav, 315, 0, 315, 315\n";
  return dir;
}

session::SessionOptions velmar_options() {
  session::SessionOptions o;
  o.panel_dir = velmar_panel();
  o.module_dir = GAUGE_MODULE_DIR;
  o.wav = false;
  return o;
}

TEST(PanelReplay, GpsnavDistanceAgreesWithTheGeodesic) {
  // Home: ZL RWY EDKA, 50:49:23N 006:11:11E. The flat formula's own error at
  // these distances stays within half a percent; the display rounds to 0.1 km.
  const LatLon home{50 + 49 / 60.0 + 23 / 3600.0, 6 + 11 / 60.0 + 11 / 3600.0};
  struct Row {
    double north_km, east_km;
  };
  const Row rows[] = {
      {30,  0  },
      {0,   40 },
      {-25, -25},
      {5,   -60},
      {80,  80 }
  };
  const auto &geodesic = GeographicLib::Geodesic::WGS84();
  for (const Row &row : rows) {
    const LatLon p = offset_position(home, row.north_km * 1000, row.east_km * 1000);
    session::Session session(velmar_options());
    std::string error;
    ASSERT_TRUE(session.open(error)) << error;
    ASSERT_TRUE(session.run(std::make_unique<FixedPosition>(p), error)) << error;
    const auto *gps = session.host().gauge("gpsnav");
    ASSERT_NE(gps, nullptr);
    // Distance field: depth-first elements 10, 11 and 12 ("  2", ".", "2").
    const std::string text =
        gps->elements[10].text + gps->elements[11].text + gps->elements[12].text;
    double s12 = 0;
    geodesic.Inverse(p.latitude_deg, p.longitude_deg, home.latitude_deg, home.longitude_deg, s12);
    const double shown_km = std::atof(text.c_str());
    EXPECT_NEAR(shown_km, s12 / 1000, 0.005 * s12 / 1000 + 0.1)
        << row.north_km << " km N, " << row.east_km << " km E: \"" << text << "\"";
  }
}

TEST(PanelReplay, LnavTeAverageFollowsTheLoggersVario) {
  std::string error;
  auto log = read_igc(data_dir() + "0asljd01.igc", error);
  ASSERT_TRUE(log) << error;
  auto replay = ReplaySource::create(*log, 2, error);
  ASSERT_TRUE(replay) << error;
  const int vat = log->extension_index("VAT");
  ASSERT_GE(vat, 0);
  std::vector<double> reference;
  for (const IgcFix &f : log->fixes) {
    const auto &v = f.extensions[static_cast<size_t>(vat)];
    if (f.valid && v && f.time_s >= replay->start_time_s()) {
      const auto i = static_cast<size_t>(std::lround(f.time_s - replay->start_time_s()));
      reference.resize(std::max(reference.size(), i + 1), std::nan(""));
      reference[i] = *v / 100.0; // cm/s
    }
  }
  session::Session session(velmar_options());
  ASSERT_TRUE(session.open(error)) << error;
  session.set_reference_vario(reference);
  ASSERT_TRUE(session.run(std::move(replay), error)) << error;
  const auto &c = session.summary().vario_correlation();
  EXPECT_GE(c.r, 0.9) << "lag " << c.lag_s << " s";
}

// Flights of straight and circling phases, sampled once a second: which
// climbs and glides the summary finds. A phase moves north at 30 m/s when
// straight and airborne.
TEST(Summary, ClimbsAndGlidesAreFoundAsTheSamplesArrive) {
  struct Phase {
    int seconds;
    double turn_degs, climb_mps;
    bool ground = false;
  };
  struct Row {
    const char *name;
    std::vector<Phase> phases;
    std::vector<double> climb_gain_m, climb_best_30s_mps, glide_km;
  };
  // clang-format off
  const Row rows[] = {
      {"glide, climb, glide",
       {{60, 0, -1}, {120, 12, 2}, {61, 0, -1}}, {238}, {2}, {1.77, 1.8}},
      {"a one-second surge counts in a 30-second window",
       {{40, 0, -1}, {20, 15, 1}, {1, -15, 31}, {40, -15, 1}}, {90}, {2}, {1.17}},
      {"turns under 30 s are neither, and the glides stay apart",
       {{40, 0, -1}, {25, 20, 0}, {40, 0, -1}}, {}, {}, {1.17, 1.17}},
      {"a segment that starts on the ground is not counted",
       {{50, 0, 0, true}, {30, 0, 0}, {40, 10, 1}}, {39}, {1}, {}},
  };
  // clang-format on
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    gaugehost::Host host(gaugehost::HostOptions{});
    session::Summary summary;
    AircraftState s;
    s.altitude_m = 1000;
    s.latitude_deg = 50;
    for (const Phase &p : row.phases) {
      for (int i = 0; i < p.seconds; ++i) {
        s.on_ground = p.ground;
        s.turn_rate_degs = p.turn_degs;
        s.altitude_m += p.climb_mps;
        if (!p.ground && p.turn_degs == 0) {
          s.latitude_deg += 30.0 / 111195.0;
        }
        summary.sample(s, host);
        s.time_s += 1;
      }
    }
    summary.finish(host);
    ASSERT_EQ(summary.climbs().size(), row.climb_gain_m.size());
    for (size_t i = 0; i < row.climb_gain_m.size(); ++i) {
      EXPECT_NEAR(summary.climbs()[i].gain_m, row.climb_gain_m[i], 1e-6) << i;
      EXPECT_NEAR(summary.climbs()[i].best_30s_mps, row.climb_best_30s_mps[i], 1e-6) << i;
    }
    ASSERT_EQ(summary.glides().size(), row.glide_km.size());
    for (size_t i = 0; i < row.glide_km.size(); ++i) {
      EXPECT_NEAR(summary.glides()[i].distance_km, row.glide_km[i], 0.01) << i;
    }
  }
}

} // namespace
} // namespace flight
