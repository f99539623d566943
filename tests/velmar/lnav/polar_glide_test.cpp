// The polar file and the glide formulas on their own: reading odd files,
// the bytes of a created file, and the guards of the formulas.
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

#include "velmar/lnav/glide_math.h"
#include "velmar/lnav/polar_file.h"

namespace {

namespace fs = std::filesystem;

constexpr lnav::Polar kInitialPolar = {
    .a = -0.0001165, .b = 0.0138864, .c = -0.8118127, .reference_mass_kg = 0.0, .reserved = 0.0};
constexpr double kTolerance = 1e-12;

class PolarFile : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/lnav_polar_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = (dir_ / "LNAV_polar.dat").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  void write(const std::string &bytes) {
    std::ofstream out(path_, std::ios::binary);
    out << bytes;
  }
  std::string contents() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  lnav::Polar read(const std::string &bytes) {
    write(bytes);
    lnav::Polar polar = kInitialPolar;
    EXPECT_TRUE(lnav::read_polar_file(path_.c_str(), polar));
    return polar;
  }

  fs::path dir_;
  std::string path_;
};

TEST_F(PolarFile, CreatedFileHoldsFiveLinesOfTwelveCharacters) {
  EXPECT_TRUE(lnav::create_polar_file(path_.c_str(), kInitialPolar));
  EXPECT_EQ(contents(), "  -0.0001165\n"
                        "   0.0138864\n"
                        "  -0.8118127\n"
                        "   0.0000000\n"
                        "   0.0000000\n");
  lnav::Polar back = {};
  ASSERT_TRUE(lnav::read_polar_file(path_.c_str(), back));
  EXPECT_DOUBLE_EQ(back.a, kInitialPolar.a);
  EXPECT_DOUBLE_EQ(back.b, kInitialPolar.b);
  EXPECT_DOUBLE_EQ(back.c, kInitialPolar.c);
  EXPECT_EQ(back.reference_mass_kg, 0.0);
}

TEST_F(PolarFile, LoadCreatesOnlyAMissingFileAndKeepsMemory) {
  lnav::Polar polar = kInitialPolar;
  polar.reference_mass_kg = 346.0;
  lnav::load_or_create_polar_file(path_.c_str(), polar);
  EXPECT_EQ(contents().substr(39, 13), " 346.0000000\n");
  EXPECT_EQ(polar.reference_mass_kg, 346.0);
  // A second load reads the file rather than appending to it.
  polar.reference_mass_kg = 1.0;
  lnav::load_or_create_polar_file(path_.c_str(), polar);
  EXPECT_EQ(polar.reference_mass_kg, 346.0);
  EXPECT_EQ(contents().size(), 5u * 13u);
}

TEST_F(PolarFile, AnExistingUnreadableFileIsNeverAppendedTo) {
  write("keep me\n");
  fs::permissions(path_, fs::perms::owner_write, fs::perm_options::replace);
  lnav::Polar polar = kInitialPolar;
  if (std::FILE *probe = std::fopen(path_.c_str(), "r")) {
    std::fclose(probe); // running as root: permissions do not stop reading
    GTEST_SKIP() << "file permissions are not enforced for this user";
  }
  EXPECT_FALSE(lnav::read_polar_file(path_.c_str(), polar));
  EXPECT_FALSE(lnav::create_polar_file(path_.c_str(), polar));
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::replace);
  EXPECT_EQ(contents(), "keep me\n");
  EXPECT_DOUBLE_EQ(polar.a, kInitialPolar.a);
}

// Only a regular file is read, and nothing of that name is replaced: none of
// these may block the panel (a FIFO without a writer, an endless device) or
// pass for a file of zeros.
TEST_F(PolarFile, AnythingButARegularFileLeavesThePolarAlone) {
  struct Case {
    const char *name;
    void (*make)(const std::string &);
  };
  const Case cases[] = {
      {"folder", [](const std::string &p) { fs::create_directory(p); }              },
      {"FIFO",   [](const std::string &p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
      {"device", [](const std::string &p) { fs::create_symlink("/dev/zero", p); }   },
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(path_);
    c.make(path_);
    const auto type = fs::symlink_status(path_).type();
    lnav::Polar polar = kInitialPolar;
    lnav::load_or_create_polar_file(path_.c_str(), polar);
    EXPECT_DOUBLE_EQ(polar.a, kInitialPolar.a);
    EXPECT_DOUBLE_EQ(polar.c, kInitialPolar.c);
    EXPECT_EQ(fs::symlink_status(path_).type(), type);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  }
}

// A write that fails (here at the close, under a file-size limit of 20 of
// the 65 bytes that holds for root too: a full disk) leaves no file, neither
// the polar file nor the temporary one, so the next power-on tries again.
TEST_F(PolarFile, FailedWriteLeavesNoFile) {
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit limited = {.rlim_cur = std::min<rlim_t>(20, saved.rlim_max),
                          .rlim_max = saved.rlim_max};
  const auto saved_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  EXPECT_FALSE(lnav::create_polar_file(path_.c_str(), kInitialPolar));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, saved_handler);
  EXPECT_TRUE(fs::is_empty(dir_));
  EXPECT_TRUE(lnav::create_polar_file(path_.c_str(), kInitialPolar));
  EXPECT_EQ(contents().size(), 5u * 13u);
}

// Lines longer than 13 characters are read whole: the values after them
// stay in their places.
TEST_F(PolarFile, LongLinesDoNotShiftTheFollowingValues) {
  const lnav::Polar p = read("   -0.000177657714921\n"
                             "    0.029786111552519   # LS-8 15 m\n"
                             "   -1.835879548704910\n"
                             "12346.5000000\n" // 13 characters, as "%12.7f" writes it
                             "0\n");
  EXPECT_NEAR(p.a, -0.000177657714921, kTolerance);
  EXPECT_NEAR(p.b, 0.029786111552519, kTolerance);
  EXPECT_NEAR(p.c, -1.835879548704910, kTolerance);
  EXPECT_EQ(p.reference_mass_kg, 12346.5);
  EXPECT_EQ(p.reserved, 0.0);
}

TEST_F(PolarFile, OddLinesReadAsZeroOrTheirLeadingNumber) {
  const lnav::Polar p = read("abc\r\n"          // no number
                             "\t 0.5e-2xyz\r\n" // leading number, CRLF
                             "0x10\n"           // decimal only: the 0
                             "nan\n");          // fifth line missing
  EXPECT_EQ(p.a, 0.0);
  EXPECT_DOUBLE_EQ(p.b, 0.005);
  EXPECT_EQ(p.c, 0.0);
  EXPECT_EQ(p.reference_mass_kg, 0.0);
  EXPECT_EQ(p.reserved, 0.0);
  EXPECT_EQ(lnav::leading_number("   1e999"), 0.0);
  EXPECT_EQ(lnav::leading_number("inf"), 0.0);
  EXPECT_EQ(lnav::leading_number("-.25 kg"), -0.25);
  EXPECT_EQ(lnav::leading_number(""), 0.0);
}

TEST_F(PolarFile, WrittenValuesOfAnyWidthReadBack) {
  const lnav::Polar wide = {
      .a = -0.0002, .b = 0.03, .c = -1.9, .reference_mass_kg = 123456.25, .reserved = -98765.5};
  ASSERT_TRUE(lnav::create_polar_file(path_.c_str(), wide));
  lnav::Polar back = {};
  ASSERT_TRUE(lnav::read_polar_file(path_.c_str(), back));
  EXPECT_EQ(back.reference_mass_kg, 123456.25);
  EXPECT_EQ(back.reserved, -98765.5);
  EXPECT_DOUBLE_EQ(back.c, -1.9);
}

// A freshly created file has reference mass 0: the polar is used unscaled
// instead of turning every result into a non-number.
TEST(GlideMath, NoReferenceMassMeansNoScaling) {
  EXPECT_EQ(lnav::wing_loading_factor(0.0, 0.0), 1.0);
  EXPECT_EQ(lnav::wing_loading_factor(0.0, 150.0), 1.0);
  EXPECT_EQ(lnav::wing_loading_factor(-20.0, 150.0), 1.0);
  EXPECT_EQ(lnav::ballast_kg(0.0, 8388608.0, 8388608.0), 0.0);
  EXPECT_DOUBLE_EQ(lnav::ballast_kg(100.0, 8388608.0, 4194304.0), 75.0);
}

// A polar without a square term (a line that read as 0) has no tangent
// point: no speed rather than an infinite one.
TEST(GlideMath, FlatPolarGivesNoSpeedToFly) {
  const lnav::Polar flat = {.a = 0.0, .b = 0.01, .c = -0.8, .reference_mass_kg = 0, .reserved = 0};
  EXPECT_EQ(lnav::tangent_speed_kmh(flat, 1.0, 0.0, 0.0), 0.0);
  EXPECT_NEAR(lnav::tangent_speed_kmh(kInitialPolar, 1.0, 0.0, 0.0), 83.476, 1e-3);
}

TEST(GlideMath, RequiredAltitudeIsPositiveOrOutOfReach) {
  // 100 km at 80 km/h sinking 0.6 m/s: 2700 m lost, arriving at 500 m.
  EXPECT_NEAR(lnav::required_altitude_m(100.0, 80.0, 0.0, -0.6, 500.0), 3200.0, 1e-9);
  EXPECT_NEAR(lnav::required_altitude_m(100.0, 80.0, -20.0, -0.6, 500.0), 2660.0, 1e-9);
  // No progress against the wind: out of reach, no height is enough.
  EXPECT_EQ(lnav::required_altitude_m(100.0, 80.0, 80.0, -0.6, 500.0), lnav::kOutOfReach);
  EXPECT_EQ(lnav::required_altitude_m(100.0, 60.0, 80.0, -0.6, 500.0), lnav::kOutOfReach);
  EXPECT_EQ(lnav::required_altitude_m(100.0, NAN, 0.0, -0.6, 500.0), lnav::kOutOfReach);
}

// Band edges of the speed-command arrow: the lower edge belongs to the band
// above it, except at -20, which is still the first band.
TEST(GlideMath, SpeedCommandBandEdges) {
  struct Edge {
    double d;
    int image;
  };
  for (const Edge &e : {
           Edge{-50,     1},
           Edge{-20,     1},
           Edge{-19.999, 2},
           Edge{-15.001, 2},
           Edge{-15,     3},
           Edge{-10,     4},
           Edge{-5.001,  4},
           Edge{-5,      5},
           Edge{4.999,   5},
           Edge{5,       6},
           Edge{10,      7},
           Edge{15,      8},
           Edge{19.999,  8},
           Edge{20,      9},
           Edge{500,     9}
  }) {
    EXPECT_EQ(lnav::speed_command_image(e.d), e.image) << "d = " << e.d;
  }
}

} // namespace
