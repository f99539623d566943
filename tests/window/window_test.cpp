// The window on a real X server (the test runs under Xvfb): gaugehost window
// opens a panel folder of gpsnav and lnav side by side at their design size,
// flying a scenario without pilot actions; the test clicks gpsnav's ON button and
// lnav's knob through XTest at screen coordinates, as a pilot's mouse would,
// and reads the screen back: both displays now show text. The screenshot is
// kept as window_switch_on.png in the build folder.
// GoogleTest before Xlib: Xlib's None and Bool macros would break its headers.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
// clang-format on
#include <cairo.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>

namespace {

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
};

// Pixels of the displays' text colour (0x101010) within a screen box.
int text_pixels(Display *display, const Box &box) {
  XImage *image = XGetImage(display, DefaultRootWindow(display), box.x, box.y, box.width,
                            box.height, AllPlanes, ZPixmap);
  if (image == nullptr) {
    return -1;
  }
  int count = 0;
  for (int y = 0; y < box.height; ++y) {
    for (int x = 0; x < box.width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      count += r < 0x30 && g < 0x30 && b < 0x30 ? 1 : 0;
    }
  }
  XDestroyImage(image);
  return count;
}

void save_screen(Display *display, const Box &box, const std::string &path) {
  XImage *image = XGetImage(display, DefaultRootWindow(display), box.x, box.y, box.width,
                            box.height, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  cairo_surface_t *png = cairo_image_surface_create(CAIRO_FORMAT_RGB24, box.width, box.height);
  auto *data = cairo_image_surface_get_data(png);
  const int stride = cairo_image_surface_get_stride(png);
  for (int y = 0; y < box.height; ++y) {
    for (int x = 0; x < box.width; ++x) {
      reinterpret_cast<uint32_t *>(data + y * stride)[x] =
          static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
    }
  }
  cairo_surface_mark_dirty(png);
  cairo_surface_write_to_png(png, path.c_str());
  cairo_surface_destroy(png);
  XDestroyImage(image);
}

// Screen position of the top-level window whose name starts with `prefix`.
bool find_window(Display *display, const std::string &prefix, int &x, int &y) {
  Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, root, &root, &parent, &children, &count) == 0) {
    return false;
  }
  bool found = false;
  for (unsigned i = 0; i < count && !found; ++i) {
    char *name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
      if (std::string(name).starts_with(prefix)) {
        Window child = 0;
        found = XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child) != 0;
      }
      XFree(name);
    }
  }
  if (children != nullptr) {
    XFree(children);
  }
  return found;
}

void click(Display *display, int x, int y) {
  XTestFakeMotionEvent(display, -1, x, y, 0);
  XTestFakeButtonEvent(display, 1, True, 0);
  XTestFakeButtonEvent(display, 1, False, 0);
  XFlush(display);
}

// Polls `done` every 50 ms for at most `limit`: the window runs in real time.
bool eventually(const std::function<bool()> &done, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return done();
}

// A panel folder: gpsnav and lnav at their design size, the example's data
// files, and a scenario of straight flight with nothing for the pilot to do.
std::string make_panel() {
  const std::filesystem::path dir = GAUGE_BINARY_DIR "/window_panel";
  std::filesystem::create_directories(dir);
  for (const char *file : {"LNAV_polar.dat", "RUR-UDI.dat"}) {
    std::filesystem::copy_file(std::filesystem::path("examples/sailplane") / file, dir / file,
                               std::filesystem::copy_options::overwrite_existing);
  }
  std::ofstream(dir / "panel.cfg") << "[Window]\n"
                                      "gauge00=velmar!gpsnav, 8, 8, 315, 315\n"
                                      "gauge01=velmar!lnav, 331, 8, 315, 315\n";
  std::ofstream(dir / "flight.scn") << "position 50:49:23N 006:11:11E\n"
                                       "elevation 190\n"
                                       "altitude 1200\n"
                                       "heading 250\n"
                                       "speed 100\n"
                                       "end 1:00:00\n";
  return dir.string();
}

TEST(Window, ClicksOnTheScreenSwitchOnGpsnavAndLnav) {
  const std::string panel = make_panel();
  Display *display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr) << "no X display: run under xvfb-run";
  int out_pipe[2];
  ASSERT_EQ(pipe(out_pipe), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(out_pipe[1], 1);
    close(out_pipe[0]);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(GAUGEHOST, GAUGEHOST, "window", panel.c_str(), "--scale", "1", "--seconds", "60",
          "--print-layout", "--modules", GAUGE_MODULE_DIR, nullptr);
    _exit(127);
  }
  close(out_pipe[1]);
  FILE *out = fdopen(out_pipe[0], "r");
  std::map<std::string, Box> gauges;
  char line[256];
  while (gauges.size() < 2 && std::fgets(line, sizeof line, out) != nullptr) {
    std::istringstream words(line);
    std::string word, name;
    Box box;
    if (words >> word >> name >> box.x >> box.y >> box.width >> box.height && word == "gauge") {
      gauges[name] = box;
    }
  }
  ASSERT_EQ(gauges.size(), 2U) << "the window printed no layout";
  int origin_x = 0, origin_y = 0;
  ASSERT_TRUE(eventually([&] { return find_window(display, "gaugehost", origin_x, origin_y); },
                         std::chrono::seconds(10)));
  Box gpsnav = gauges["gpsnav"], lnav = gauges["lnav"];
  for (Box *b : {&gpsnav, &lnav}) {
    b->x += origin_x;
    b->y += origin_y;
  }
  // Drawn (the screen holds still) and switched off.
  int gpsnav_off = -1, lnav_off = -1;
  ASSERT_TRUE(eventually(
      [&] {
        const int gpsnav_now = text_pixels(display, gpsnav), lnav_now = text_pixels(display, lnav);
        const bool drawn = gpsnav_now < gpsnav.width * gpsnav.height && gpsnav_now == gpsnav_off &&
                           lnav_now < lnav.width * lnav.height && lnav_now == lnav_off;
        gpsnav_off = gpsnav_now;
        lnav_off = lnav_now;
        return drawn;
      },
      std::chrono::seconds(10)));

  click(display, gpsnav.x + 100, gpsnav.y + 25); // ON
  click(display, lnav.x + 115, lnav.y + 40);     // knob up: power
  // Each display shows at least a few characters' worth of text pixels.
  constexpr int kTextPixels = 150;
  EXPECT_TRUE(eventually(
      [&] {
        return text_pixels(display, gpsnav) > gpsnav_off + kTextPixels &&
               text_pixels(display, lnav) > lnav_off + kTextPixels;
      },
      std::chrono::seconds(10)))
      << "gpsnav " << gpsnav_off << " -> " << text_pixels(display, gpsnav) << ", lnav " << lnav_off
      << " -> " << text_pixels(display, lnav);
  save_screen(display,
              {origin_x, origin_y, lnav.x + lnav.width - origin_x + 8,
               std::max(gpsnav.height, lnav.height) + 16},
              GAUGE_BINARY_DIR "/window_switch_on.png");

  kill(child, SIGTERM); // SDL turns it into a quit
  int status = 0;
  waitpid(child, &status, 0);
  fclose(out);
  XCloseDisplay(display);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
