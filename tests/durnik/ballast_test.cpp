// bsw and bdp through the host and the FSUIPC offset server stand-in: the
// start-up fill, the dump from full to empty, the valve closing by itself, the
// server's fault modes, and bdp's units. Tank tokens 0x123/0x129 and offsets
// 0x0B7C/0x0B94 are one state in the stand-in.
#include <optional>

#include "host/host_offset_server.h"
#include "tests/durnik/durnik_fixture.h"

namespace durnik_test {
namespace {

using fsuipc_server::FaultMode;

constexpr double kFull_raw = 8388608.0;
constexpr int kValveIcon = 1;
constexpr int kCloseX = 10, kCloseY = 20;
constexpr int kOpenX = 10, kOpenY = 60;
constexpr uint32_t kDumping = 0x10201, kNotDumping = 0x10202;

class BallastTest : public DurnikTest {
protected:
  BallastTest() : server(host) {
    host.set_token(0x124, 20.0); // US gallons
    host.set_token(0x12A, 20.0);
  }
  void set_tanks(double level_raw) {
    host.set_token(0x123, level_raw);
    host.set_token(0x129, level_raw);
  }
  double tank1() { return host.token(0x123); }
  double tank2() { return host.token(0x129); }
  uint64_t served() { return server.server().requests_served(); }
  double valve_icon() { return value("bsw", kValveIcon); }
  // Updates one cycle and returns the one dump signal it sent.
  uint32_t update_signal() {
    keys();
    host.update(1);
    const KeyList sent = keys();
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent.empty() ? 1 : sent[0].second, 1);
    return sent.empty() ? 0 : sent[0].first;
  }

  fsuipc_server::HostOffsetServer server;
};

TEST_F(BallastTest, StartUpFillFillsBothTanksOnce) {
  set_tanks(0.0);
  place("bsw");
  place("bdp");
  host.update(1);
  EXPECT_EQ(served(), 0u) << "the first update comes before any service 10";
  host.update(1);
  EXPECT_EQ(tank1(), kFull_raw);
  EXPECT_EQ(tank2(), kFull_raw);
  EXPECT_EQ(served(), 2u) << "the connect's version exchange and the fill";
  host.update(1);
  EXPECT_EQ(text("bdp", 1), "  40");
  host.set_token(0x123, kFull_raw / 2);
  host.update(20);
  EXPECT_EQ(tank1(), kFull_raw / 2) << "the fill is not repeated";
  EXPECT_EQ(served(), 2u);
  EXPECT_EQ(text("bdp", 1), "  30");
}

TEST_F(BallastTest, TanksFullAtStartCauseNoTraffic) {
  set_tanks(kFull_raw);
  place("bsw");
  host.update(5);
  set_tanks(0.0);
  host.update(5);
  EXPECT_EQ(served(), 0u) << "the fill was settled at the first try";
  EXPECT_EQ(tank1(), 0.0);
}

TEST_F(BallastTest, ZeroCapacityDisarmsTheGaugeUntilTheNextService10) {
  set_tanks(0.0);
  host.set_token(0x124, 0.0);
  host.set_token(0x12A, 0.0);
  place("bsw");
  click("bsw", kOpenX, kOpenY);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(update_signal(), kNotDumping) << "disarmed at every fill try, update " << i;
  }
  EXPECT_EQ(served(), 0u);
  click("bsw", kCloseX, kCloseY);
  host.set_token(0x12A, 20.0);
  host.update(1);
  EXPECT_EQ(tank1(), kFull_raw) << "re-armed by the last service 10, the fill runs";
  EXPECT_EQ(tank2(), kFull_raw);
}

TEST_F(BallastTest, FullDumpClosesTheValveAtThe115thStep) {
  set_tanks(0.0);
  place("bsw");
  host.update(2);
  ASSERT_EQ(tank1(), kFull_raw);
  EXPECT_EQ(update_signal(), kNotDumping);
  click("bsw", kOpenX, kOpenY);

  int steps = 0;
  double before_last = -1.0;
  double level = tank1();
  for (int cycle = 0; cycle < 5000; ++cycle) {
    const uint32_t signal = update_signal();
    EXPECT_EQ(tank1(), tank2()) << "cycle " << cycle;
    if (tank1() != level) {
      ++steps;
      before_last = level;
      level = tank1();
    }
    const bool closed = valve_icon() == 0.0;
    ASSERT_EQ(signal, closed ? kNotDumping : kDumping) << "cycle " << cycle;
    ASSERT_TRUE(closed == (level == 0.0)) << "the valve closes exactly when the tanks empty";
    if (closed) {
      break;
    }
  }
  EXPECT_EQ(steps, 115);
  EXPECT_EQ(before_last, 64880.0) << "the step that reads k = 1";
  EXPECT_EQ(tank1(), 0.0);
  EXPECT_EQ(tank2(), 0.0);
  const uint64_t after = served();
  host.update(50);
  EXPECT_EQ(served(), after) << "a closed valve makes no traffic";
}

TEST_F(BallastTest, FaultyServerNeverChangesTheTanksAndTheValveStaysOpen) {
  set_tanks(kFull_raw);
  place("bsw");
  host.update(2);
  click("bsw", kOpenX, kOpenY);
  for (const FaultMode mode :
       {FaultMode::kAbsent, FaultMode::kRefuse, FaultMode::kHang, FaultMode::kVersion,
        FaultMode::kVersionOld, FaultMode::kCorrupt, FaultMode::kDrop}) {
    const std::string name(fsuipc_server::mode_name(mode));
    set_tanks(kFull_raw);
    server.server().set_mode(mode);
    for (int i = 0; i < 100; ++i) {
      ASSERT_EQ(update_signal(), kDumping) << name << ", update " << i;
    }
    EXPECT_EQ(tank1(), kFull_raw) << name;
    EXPECT_EQ(tank2(), kFull_raw) << name;
    EXPECT_EQ(valve_icon(), 1.0) << name;
    server.server().set_mode(FaultMode::kNormal);
    host.update(40);
    EXPECT_LT(tank1(), kFull_raw) << "dumping resumes after " << name;
  }
}

TEST_F(BallastTest, UndeliveredFirstReadDoesNotEmptyTheTanks) {
  set_tanks(kFull_raw);
  place("bsw");
  host.update(2);
  // The server performs the records but spoils the read's kind, so its
  // answer is never copied back although the exchange succeeds.
  server.server().set_mode(FaultMode::kCorrupt);
  click("bsw", kOpenX, kOpenY);
  host.update(40);
  EXPECT_EQ(tank1(), kFull_raw);
  EXPECT_EQ(tank2(), kFull_raw);
  EXPECT_EQ(valve_icon(), 1.0);
}

TEST_F(BallastTest, AnAnswerOfAllOnesIsALevelLikeAnyOther) {
  set_tanks(kFull_raw);
  place("bsw");
  host.update(2);
  set_tanks(4294967295.0);
  click("bsw", kOpenX, kOpenY);
  host.update(20); // one dump step
  EXPECT_EQ(tank1(), 4251952742.0) << "0.99 x 0xFFFF x 65536";
  EXPECT_EQ(tank2(), 4251952742.0);
}

TEST_F(BallastTest, DumpStepsGoOnAcrossTheModuleClockWrap) {
  // Module time just before the 32-bit clock wraps, with dump marks crossing
  // it, and just after it, with the last mark still the one from load.
  // The first row, far from the wrap, sets the count the others must match.
  constexpr int64_t kClockWrapMs = int64_t{1} << 31;
  int steps_without_wrap = -1;
  for (const int64_t start_ms : {int64_t{10000}, kClockWrapMs - 2500, kClockWrapMs + 2500}) {
    std::string error;
    ASSERT_TRUE(host.unload_module("durnik", error)) << error;
    ASSERT_TRUE(host.load_module("durnik", error)) << error; // the clock starts at load
    set_tanks(kFull_raw);
    place("bsw");
    host.advance(start_ms);
    click("bsw", kOpenX, kOpenY);
    int steps = 0;
    double level = tank1();
    for (int i = 0; i < 200; ++i) { // 11 s
      host.update(1);
      steps += tank1() != level;
      level = tank1();
    }
    if (steps_without_wrap < 0) {
      steps_without_wrap = steps;
    }
    EXPECT_EQ(steps, steps_without_wrap) << "from module time " << start_ms;
    ASSERT_TRUE(host.remove("bsw", error)) << error;
  }
}

TEST_F(BallastTest, OtherSimulatorSkipsTheFillButNotTheDump) {
  set_tanks(kFull_raw / 2);
  server.server().set_mode(FaultMode::kVersionSim);
  place("bsw");
  host.update(5);
  EXPECT_EQ(tank1(), kFull_raw / 2) << "the fill asks for simulator 2";
  server.server().set_mode(FaultMode::kNormal);
  host.update(5);
  EXPECT_EQ(tank1(), kFull_raw / 2) << "and is not tried again";
  server.server().set_mode(FaultMode::kVersionSim);
  click("bsw", kOpenX, kOpenY);
  host.update(20);
  EXPECT_LT(tank1(), kFull_raw / 2) << "the dump accepts any simulator";
}

TEST_F(DurnikTest, BallastDisplayShowsGallonsOrLitresByUnits) {
  place("bdp");
  host.set_token(0x124, 20.0);
  host.set_token(0x12A, 20.0);
  host.set_token(0x123, 8388608.0);
  host.set_token(0x129, 4194304.0);
  const struct {
    double units;
    const char *text;
  } cases[] = {
      {0.0,  "  30"},
      {1.0,  " 114"},
      {2.0,  " 114"},
      {2.9,  " 114"},
      {3.0,  "  30"},
      {-1.0, "  30"},
  };
  for (const auto &c : cases) {
    host.set_token(0x14F, c.units);
    host.update(1);
    EXPECT_EQ(text("bdp", 1), c.text) << "units " << c.units;
  }
  host.set_token(0x123, 0.0);
  host.set_token(0x129, 0.0);
  host.update(1);
  EXPECT_EQ(text("bdp", 1), "   0");
  // A nonsense capacity formats 300 digits: bounded by the host's buffer and
  // cut to the element's five characters.
  host.set_token(0x123, 8388608.0);
  host.set_token(0x124, 1e300);
  host.update(1);
  EXPECT_EQ(text("bdp", 1).size(), 5u);
}

} // namespace
} // namespace durnik_test
