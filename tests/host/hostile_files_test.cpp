// Hostile files through the real host and modules: malformed turnpoint and
// polar files in every shape a disk can hold. Each row says what the panel
// must show; none may crash the host, and a file lnav finds is never
// rewritten, cut short or left beside a half-written copy.
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/host.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Maker = std::function<void(const fs::path &)>;

constexpr uint32_t kClick = 0x20000000;
constexpr int64_t kBigFileBytes = 100ll << 20;
constexpr size_t kLongLineBytes = 10u << 20;

// A fresh working folder, current for the object's life (modules open their
// files by bare name there).
class WorkFolder {
public:
  WorkFolder() : previous_(fs::current_path()) {
    char pattern[] = "/tmp/hostile_XXXXXX";
    EXPECT_NE(mkdtemp(pattern), nullptr);
    path_ = pattern;
    fs::current_path(path_);
  }
  ~WorkFolder() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path &path() const { return path_; }

private:
  fs::path previous_;
  fs::path path_;
};

gaugehost::HostOptions host_options() {
  gaugehost::HostOptions options;
  options.module_dir = GAUGE_MODULE_DIR;
  return options;
}

Maker text(std::string bytes) {
  return [bytes](const fs::path &p) { std::ofstream(p, std::ios::binary) << bytes; };
}

// `head`, then `tail_bytes` more: one line of them ended by a line feed, or
// (no line end) a sparse run of zero bytes up to that size.
Maker huge(std::string head, size_t tail_bytes, std::string after) {
  return [=](const fs::path &p) {
    std::ofstream out(p, std::ios::binary);
    out << head;
    if (after.empty()) {
      out.close();
      ASSERT_EQ(truncate(p.c_str(), static_cast<off_t>(tail_bytes)), 0);
      return;
    }
    const std::string chunk(1 << 20, 'x');
    for (size_t n = 0; n < tail_bytes; n += chunk.size()) {
      out << chunk;
    }
    out << "\n" << after;
  };
}

std::string repeated(const std::string &line, int times, const std::string &head = "") {
  std::string bytes = head;
  for (int i = 0; i < times; ++i) {
    bytes += line;
  }
  return bytes;
}

void nothing(const fs::path &) {}
void folder(const fs::path &p) {
  fs::create_directory(p);
}
// Unreadable for every user, root included: opening it loops.
void self_link(const fs::path &p) {
  fs::create_symlink(p.filename(), p);
}
// Unreadable by permission, which root does not heed (that row is skipped).
Maker no_permission(std::string bytes) {
  return [bytes](const fs::path &p) {
    text(bytes)(p);
    fs::permissions(p, fs::perms::none);
  };
}

std::string binary_garbage() {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) {
    const char c = static_cast<char>(0x80 + (i * 37) % 0x80); // no comma, no line feed
    bytes += c;
  }
  return bytes + "\n";
}

const std::string kHome = "1,52:00.000N,005:00.000E,0,H,Home,x\n";
const std::string kPoint = "7,52:00.000N,005:00.000E,0,T,Point,x\n";

// gpsnav at the home point (52 N 5 E) after its ON button: line 1, line 2 and
// the distance (km) as shown. A file that loads shows its home point (the
// first record when it has none, and an empty record, at 0 N 0 E, far away,
// when it has no line); one that cannot be opened shows the no-file texts.
TEST(HostileFiles, TurnpointFile) {
  struct Row {
    const char *name;
    Maker make;
    const char *line1;
    std::string line2;
    const char *distance;
  };
  const std::string blank(12, ' ');
  // Left as written: clang-format 14 crashes aligning rows of two lines.
  // clang-format off
  const std::vector<Row> rows = {
      {"missing", nothing, "Switch off -", "No DAT File", ""},
      {"folder", folder, "Switch off -", "No DAT File", ""},
      {"link to itself", self_link, "Switch off -", "No DAT File", ""},
      {"no read permission", no_permission(kHome), "Switch off -", "No DAT File", ""},
      {"empty", text(""), "Navigate to", blank, "999.9"},
      {"binary garbage", text(binary_garbage()), "Navigate to", blank, "999.9"},
      {"every field missing", text(",,,,,,\n\n"), "Navigate to", blank, "999.9"},
      {"CR-only line ends: no line at all", text("1,52:00.000N,005:00.000E,0,H,Home,x\r"),
       "Navigate to", blank, "999.9"},
      {"NUL byte ends the name", text("1,52:00.000N,005:00.000E,0,H,Ho\0me,x\n"s),
       "Arrival!", "Ho          ", "  0.0"},
      {"invalid UTF-8 kept as bytes", text("1,52:00.000N,005:00.000E,0,H,\xC3\x28\xFF\xFExx,x\n"),
       "Arrival!", "\xC3\x28\xFF\xFExx      ", "  0.0"},
      {"1e308 nan inf -0", text("1,1e308,nan,-0,H,Home,x\n2,inf,-1e308,1e308F,T,Two,x\n"),
       "Navigate to", "Home        ", "999.9"},
      {"10 MB line after the home", huge(kHome, kLongLineBytes, "2,0,0,0,H,Late,x\n"),
       "Arrival!", "Home        ", "  0.0"},
      {"100 MB, zero bytes after the home", huge(kHome, kBigFileBytes, ""), "Arrival!",
       "Home        ", "  0.0"},
      // The table keeps 355 lines: the home on line 4000 is not among them.
      {"5000 lines", text(repeated(kPoint, 1000, repeated(kPoint, 3999) + kHome)), "Arrival!",
       "Point       ", "  0.0"},
  };
  // clang-format on
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    if (std::string(row.name) == "no read permission" && geteuid() == 0) {
      continue; // root reads it anyway; "link to itself" stands in
    }
    WorkFolder work;
    row.make(work.path() / "RUR-UDI.dat");
    gaugehost::Host host(host_options());
    std::string error;
    ASSERT_TRUE(host.load_module("velmar", error)) << error;
    ASSERT_TRUE(host.place("velmar", "gpsnav", "gpsnav", error)) << error;
    host.set_token(0x14F, 2);                                           // metric
    host.set_token(0x47, 52 * 60 * 1852.175925953);                     // 52 N
    host.set_token(0x48, 5 * 60 * 13031248921.78);                      // 5 E
    ASSERT_TRUE(host.click("gpsnav", 108, 31, kClick, error)) << error; // ON
    host.advance(2000);
    host.update(2);
    const auto &shown = host.gauge("gpsnav")->elements;
    EXPECT_EQ(shown[1].text, row.line1);
    EXPECT_EQ(std::string(shown[2].buffer.data()), row.line2);
    EXPECT_EQ(shown[10].text + shown[11].text + shown[12].text, row.distance);
  }
}

// lnav powered on, on its wind page, in a 2.5 m/s thermal at 80 km/h for
// 33 s: the netto digits (the climb less the polar's sink, on their average)
// show which polar it flies by: the initial one (kept in memory when the
// file cannot be read) "4. 2"; one of zeros (a line without a number reads
// 0) "0. 2"; 1e308 puts netto beyond the digits' range. The file afterwards
// is byte for byte what was there, or, where nothing was, the initial polar.
TEST(HostileFiles, PolarFile) {
  struct Row {
    const char *name;
    Maker make;
    const char *netto; // as shown: whole, point, tenths
  };
  const std::string initial = "  -0.0001165\n   0.0138864\n  -0.8118127\n   0.0000000\n"
                              "   0.0000000\n";
  // Left as written: clang-format 14 crashes aligning rows of two lines.
  // clang-format off
  const std::vector<Row> rows = {
      {"missing: created", nothing, "4. 2"},
      {"folder: left alone", folder, "4. 2"},
      {"link to itself: left alone", self_link, "4. 2"},
      {"no read permission: never replaced", no_permission("1\n2\n3\n4\n5\n"), "4. 2"},
      {"empty", text(""), "0. 2"},
      {"binary garbage: a 4 KiB line, not a polar file", text(binary_garbage()), "4. 2"},
      {"every line without a number", text("\n\n\n\n\n"), "0. 2"},
      {"NUL bytes", text("\0-0.0001165\n\0\n\0\n\0\n\0\n"s), "0. 2"},
      {"invalid UTF-8", text("\xC3\x28\n\xFF\xFE\n\xC0\n\x80\n\xF5\n"), "0. 2"},
      {"nan inf -0 read as zero", text("nan\ninf\n-0\n-0\n-0\n"), "0. 2"},
      {"1e308", text("1e308\n1e308\n1e308\n1e308\n1e308\n"), "x. x"},
      // One line: only a is read, b and c are zero (more sink at 80 km/h).
      {"CR-only line ends", text("-0.0001165\r0.0138864\r-0.8118127\r0\r0\r"), "7. 2"},
      {"thousands of lines: the first five count", text(repeated("0\n", 5000, initial)), "4. 2"},
      {"10 MB first line: not a polar file", huge("", kLongLineBytes, initial), "4. 2"},
      {"100 MB of zero bytes: not a polar file", huge("", kBigFileBytes, ""), "4. 2"},
  };
  // clang-format on
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    if (std::string(row.name).find("permission") != std::string::npos && geteuid() == 0) {
      continue;
    }
    WorkFolder work;
    const fs::path polar = work.path() / "LNAV_polar.dat";
    row.make(polar);
    std::error_code ec;
    const bool existed = fs::symlink_status(polar, ec).type() != fs::file_type::not_found;
    const auto size_before = fs::is_regular_file(polar, ec) ? fs::file_size(polar, ec) : 0;
    const auto time_before = fs::last_write_time(polar, ec);

    gaugehost::Host host(host_options());
    std::string error;
    ASSERT_TRUE(host.load_module("velmar", error)) << error;
    ASSERT_TRUE(host.place("velmar", "lnav", "lnav", error)) << error;
    host.set_token(0x14F, 2);
    host.set_token(0x49, 1200);
    host.set_token(0x3D, 48.6);
    ASSERT_TRUE(host.click("lnav", 115, 40, kClick, error)) << error; // power on
    host.update(1);
    host.advance(3000); // the splash page
    host.update(3);
    ASSERT_TRUE(host.click("lnav", 211, 39, kClick, error)) << error; // wind page
    host.set_token(0x3D, 43.2);
    host.set_token(0x41, 640);
    host.update(300, 110);
    const auto &shown = host.gauge("lnav")->elements;
    EXPECT_EQ(shown[2].text + shown[3].text + shown[4].text, row.netto);
    for (const auto &element : shown) {
      EXPECT_EQ(element.text.find("nan"), std::string::npos) << element.index;
      EXPECT_EQ(element.text.find("inf"), std::string::npos) << element.index;
    }

    EXPECT_FALSE(fs::exists(work.path() / "LNAV_polar.dat.tmp", ec));
    if (!existed) {
      std::ifstream in(polar, std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), initial);
    } else if (fs::is_regular_file(polar, ec)) {
      EXPECT_EQ(fs::file_size(polar, ec), size_before);
      EXPECT_EQ(fs::last_write_time(polar, ec), time_before);
    } else {
      EXPECT_TRUE(fs::is_directory(polar, ec) || fs::is_symlink(polar));
    }
  }
}

} // namespace
