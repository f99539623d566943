// Loading "RUR-UDI.dat": field widths, feet, line ends, the table bounds and
// the real turnpoint files.
#include <cstdio>
#include <sys/stat.h>

#include "tests/velmar/gpsnav/gpsnav_fixture.h"

namespace gpsnav_test {
namespace {

// A record line at 52 N 5 E plus `minutes` of latitude.
std::string record(const std::string &number, const std::string &attributes,
                   const std::string &name, double minutes = 0.0, const char *elevation = "0M") {
  char latitude[16];
  std::snprintf(latitude, sizeof latitude, "52:%06.3fN", minutes);
  return number + "," + latitude + ",005:00.000E," + elevation + "," + attributes + "," + name +
         ",remark\n";
}

class TurnpointFile : public GpsnavProbeTest {
protected:
  // Steps down a list page `times` and returns line 2 as shown.
  std::string after_steps_down(int times) {
    press(kDown, times);
    cycle();
    return buffer(kLine2);
  }
};

TEST_F(TurnpointFile, ElevationsInFeetBecomeWholeMetres) {
  struct Case {
    const char *field;
    const char *line1;
    double published_m;
  };
  const Case cases[] = {
      {"1500F", "Elev  457M  ", 457.0 }, // 457.2 m
      {"1500f", "Elev  1500f ", 1500.0}, // no capital F: kept, read as metres
      {"443",   "Elev  443   ", 443.0 },
  };
  for (const Case &c : cases) {
    write_file(record("1", "H", "Home", 0.0, c.field));
    press(kOn);
    press(kDown); // elevation line
    cycle();
    EXPECT_EQ(text(kLine1), c.line1);
    EXPECT_EQ(probe_number(kProbeElevationM), c.published_m);
    press(kOn);
  }
}

TEST_F(TurnpointFile, NamesAreCutOrPaddedToTwelveAndFoundPadded) {
  write_file(record("1", "H", "Hilltop Farm Airstrip") + record("2", "T", "Short", 10.0));
  switch_on();
  EXPECT_EQ(buffer(kLine2), "Hilltop Farm");
  EXPECT_EQ(probe(kProbeName), "Hilltop Farm");
  press(kRight, 3); // page 23
  cycle();
  EXPECT_EQ(buffer(kLine2), "Short       ");
  press(kGo);
  cycle();
  EXPECT_EQ(probe(kProbeName), "Short       ");
}

TEST_F(TurnpointFile, ReadOnceAtEachSwitchOn) {
  write_file(record("1", "H", "Before") + record("2", "T", "Old Name", 10.0));
  switch_on();
  write_file(record("1", "H", "After") + record("2", "T", "New Name", 10.0));
  press(kRight, 4); // the lists are built from the tables, not the file
  navigate();
  EXPECT_EQ(buffer(kLine2), "Old Name    ");
  press(kOn);
  switch_on();
  EXPECT_EQ(buffer(kLine2), "After       ");
}

TEST_F(TurnpointFile, OnlyLinesWithALineEndAreRecords) {
  std::string file = "1,52:00.000N,005:00.000E,0M,T,First,\r\n"
                     "2,52:10.000N,005:00.000E,0M,T,Second,\r\n"
                     "3,52:20.000N,005:00.000E,0M,T,Third,\r\n"
                     "4,52:30.000N,005:00.000E,0M,H,Unended,";
  write_file(file);
  switch_on();
  EXPECT_EQ(buffer(kLine2), "First       "); // no home point: record 0, no carriage return
  press(kRight, 3);
  EXPECT_EQ(after_steps_down(5), "Third       ");
}

// The first 510 characters of a longer line are its record; the rest of the
// line is skipped (it would otherwise add a turnpoint "Tail Name").
TEST_F(TurnpointFile, OverlongLineKeepsItsFirst510Characters) {
  const std::string head = "7,52:00.000N,005:00.000E,0M,T";
  std::string line = head + std::string(504 - head.size(), 'x') + ",ABCDEFGHIJ";
  ASSERT_EQ(line.find("ABCDE"), 505u); // characters 506 to 510
  line += ",52:00.000N,005:00.000E,0M,T,Tail Name,\r\n";
  write_file(record("1", "H", "Home") + line + record("8", "T", "Next"));
  switch_on();
  press(kRight, 3);
  cycle();
  EXPECT_EQ(buffer(kLine2), "ABCDE       ");
  EXPECT_EQ(after_steps_down(5), "Next        ");
}

// 300 turnpoints N000 .. N299, nearest last; blank lines up to 355; a home
// point on line 356.
TEST_F(TurnpointFile, TablesKeepWhatTheirSlotsHold) {
  std::string file;
  for (int i = 0; i < 300; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "N%03d", i);
    file += record(std::to_string(i + 1), "T", name, (300 - i) * 0.1);
  }
  file += std::string(55, '\n') + record("999", "H", "Beyond");
  write_file(file);
  set_position(3120.0, 300.0);
  switch_on();
  EXPECT_EQ(buffer(kLine2), "N000        "); // line 356 was not read
  press(kRight, 3);
  EXPECT_EQ(after_steps_down(300), "N255        "); // the first 256 names
  press(kRight);
  navigate();
  EXPECT_EQ(buffer(kLine2), "N299        ");
  EXPECT_EQ(after_steps_down(300), "N044        "); // the 256 nearest
}

TEST_F(TurnpointFile, TaskTableKeepsItsFirstHundredEntries) {
  std::string file =
      record("1", "H", "Home") + record("2", "T", "Two", 10.0) + record("3", "T", "Three", 20.0);
  for (int i = 0; i < 100; ++i) {
    file += "AC0,2,0\n";
  }
  file += "A0,3,0\n"; // the 101st task line
  write_file(file);
  switch_on();
  press(kRight, 6);
  press(kGo);    // choosing task A
  press(kRight); // its start point
  cycle();
  EXPECT_EQ(text(kLine1), "Turnpoint A0");
  EXPECT_EQ(buffer(kLine2), "");
  press(kLeft);
  press(kDown, 2); // task C
  press(kRight);
  cycle();
  EXPECT_EQ(text(kLine1), "Turnpoint C0");
  EXPECT_EQ(buffer(kLine2), "Two         ");
}

// Only a regular file is read: anything else of that name is no file, and
// none of them may block the panel (a FIFO without a writer, an endless
// device) or pass for an empty file (a folder reads with an error).
TEST_F(TurnpointFile, AnythingButARegularFileIsNoFile) {
  const std::filesystem::path path = folder_ / "RUR-UDI.dat";
  struct Case {
    const char *name;
    void (*make)(const std::filesystem::path &);
  };
  const Case cases[] = {
      {"folder", [](const std::filesystem::path &p) { std::filesystem::create_directory(p); } },
      {"FIFO",   [](const std::filesystem::path &p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
      {"device",
       [](const std::filesystem::path &p) { std::filesystem::create_symlink("/dev/zero", p); }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(path);
    c.make(path);
    press(kOn);
    cycle();
    EXPECT_EQ(text(kLine1), "Switch off -");
    EXPECT_EQ(text(kLine2), "No DAT File");
    press(kOn); // clears the state
  }
}

// The shared real files: CRLF, a DOS end-of-file byte, comment lines, long
// names, seconds notation, and more lines than the table holds.
struct RealFile {
  const char *name;
  const char *home;
  const char *first_name;
  const char *last_name_step; // line 2 after stepping down the whole name list
};

class RealTurnpointFiles : public GpsnavTest, public ::testing::WithParamInterface<RealFile> {};

TEST_P(RealTurnpointFiles, LoadAndBrowseWithoutFault) {
  const RealFile &f = GetParam();
  copy_file(f.name);
  set_position(3000.0, 300.0);
  switch_on();
  EXPECT_EQ(text(kLine1), "Navigate to");
  EXPECT_EQ(buffer(kLine2), f.home);
  press(kRight, 3);
  cycle();
  EXPECT_EQ(buffer(kLine2), f.first_name);
  press(kDown, 400);
  cycle();
  EXPECT_EQ(buffer(kLine2), f.last_name_step);
  for (int page = 24; page <= 25; ++page) {
    press(kRight);
    navigate();
    press(kDown, 400);
    navigate();
    EXPECT_FALSE(buffer(kLine2).empty()) << page;
  }
  press(kGo);
  navigate();
  EXPECT_EQ(text(kLine1), "Navigate to");
}

INSTANTIATE_TEST_SUITE_P(
    Shared, RealTurnpointFiles,
    ::testing::Values(RealFile{"waypoints.dat", "Bergneustadt", "Aconcagua   ", "Sydney Opera"},
                      // the last slot is a filler: "Zuelpich" sorts after the fillers
                      RealFile{"euregio9.dat", "ZL RWY EDKA ", "Aachen      ", "ZL RWY EDKA "},
                      RealFile{"California22.dat", "HOLLISTER   ", "41/33 Int   ", "pk 2770     "}),
    [](const auto &info) { return std::string(info.param.name).substr(0, 5); });

} // namespace
} // namespace gpsnav_test
