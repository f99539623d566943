// Replay of the three real logs, and the panel flown by a replay and by a
// fixed position: gpsnav's distance against a geodesic, lnav's TE average
// against the logger's own vario.
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
#include "session/session.h"

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
  const_cast<session::Summary &>(session.summary()).set_reference_vario(reference);
  ASSERT_TRUE(session.run(std::move(replay), error)) << error;
  const auto &c = session.summary().vario_correlation();
  EXPECT_GE(c.r, 0.9) << "lag " << c.lag_s << " s";
}

} // namespace
} // namespace flight
