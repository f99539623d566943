#include "host/panel_file.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace gaugehost {
namespace {

std::string trim(const std::string &s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) {
    ++b;
  }
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) {
    --e;
  }
  return s.substr(b, e - b);
}

std::string lower(std::string s) {
  for (char &c : s) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return s;
}

std::vector<std::string> split(const std::string &s, char sep) {
  std::vector<std::string> out;
  std::stringstream in(s);
  for (std::string part; std::getline(in, part, sep);) {
    out.push_back(trim(part));
  }
  if (!s.empty() && s.back() == sep) {
    out.emplace_back();
  }
  return out;
}

bool parse_int(const std::string &s, int &out) {
  if (s.empty()) {
    return false;
  }
  char *end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (*end != '\0' || v < -100000 || v > 100000) {
    return false;
  }
  out = static_cast<int>(v);
  return true;
}

} // namespace

std::optional<PanelFile> parse_panel_file(const std::string &text,
                                          const std::filesystem::path &file, std::string &error) {
  PanelFile panel;
  panel.file = file;
  std::istringstream in(text);
  std::string raw;
  int line_number = 0;
  bool in_window = false;
  bool saw_window = false;
  std::map<std::string, int> keys_seen;
  std::map<std::string, int> gauge_uses;
  auto fail = [&](const std::string &message) {
    error = file.string() + ":" + std::to_string(line_number) + ": " + message;
    return std::nullopt;
  };
  while (std::getline(in, raw)) {
    ++line_number;
    std::string line = raw;
    for (const char *comment : {";", "//"}) {
      const size_t at = line.find(comment);
      if (at != std::string::npos) {
        line.resize(at);
      }
    }
    line = trim(line);
    if (line.empty()) {
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']') {
        return fail("section header without ']'");
      }
      in_window = lower(line).rfind("[window", 0) == 0;
      saw_window = saw_window || in_window;
      continue;
    }
    if (!in_window) {
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos) {
      return fail("expected KEY=VALUE, got \"" + line + "\"");
    }
    const std::string key = lower(trim(line.substr(0, eq)));
    const std::string value = trim(line.substr(eq + 1));
    if (keys_seen.count(key) != 0) {
      return fail(key + " is given twice (first on line " + std::to_string(keys_seen[key]) + ")");
    }
    keys_seen[key] = line_number;
    if (key == "size" || key == "size_mm") {
      const auto parts = split(value, ',');
      if (parts.size() != 2 || !parse_int(parts[0], panel.width) ||
          !parse_int(parts[1], panel.height) || panel.width <= 0 || panel.height <= 0) {
        return fail("size needs WIDTH,HEIGHT in pixels, got \"" + value + "\"");
      }
      continue;
    }
    if (key.rfind("gauge", 0) != 0 || key.size() == 5 ||
        !std::all_of(key.begin() + 5, key.end(), [](char c) { return std::isdigit(c); })) {
      return fail("unknown key \"" + key + "\" (gaugeNN or size)");
    }
    const auto parts = split(value, ',');
    if (parts.size() != 5) {
      return fail(key + ": expected MODULE!GAUGE, X, Y, W, H (" + std::to_string(parts.size()) +
                  " fields given)");
    }
    const size_t bang = parts[0].find('!');
    if (bang == std::string::npos || bang == 0 || bang + 1 == parts[0].size()) {
      return fail(key + ": \"" + parts[0] + "\" is not MODULE!GAUGE");
    }
    PanelGaugeLine g;
    g.module = parts[0].substr(0, bang);
    g.gauge = parts[0].substr(bang + 1);
    g.line = line_number;
    static const char *kNames[] = {"X", "Y", "W", "H"};
    int *fields[] = {&g.x, &g.y, &g.width, &g.height};
    for (int i = 0; i < 4; ++i) {
      if (!parse_int(parts[static_cast<size_t>(i) + 1], *fields[i])) {
        return fail(key + ": " + kNames[i] + " is not a whole number: \"" +
                    parts[static_cast<size_t>(i) + 1] + "\"");
      }
    }
    if (g.width <= 0 || g.height <= 0) {
      return fail(key + ": width and height must be positive");
    }
    const int use = ++gauge_uses[g.gauge];
    g.placement = use == 1 ? g.gauge : g.gauge + "_" + std::to_string(use);
    panel.gauges.push_back(g);
  }
  if (!saw_window) {
    line_number = 0;
    return fail("no [Window] section");
  }
  if (panel.gauges.empty()) {
    line_number = 0;
    return fail("no gauge lines in the [Window] section");
  }
  if (panel.width == 0) {
    for (const auto &g : panel.gauges) {
      panel.width = std::max(panel.width, g.x + g.width);
      panel.height = std::max(panel.height, g.y + g.height);
    }
  }
  return panel;
}

std::optional<PanelFile> read_panel_file(const std::filesystem::path &path, std::string &error) {
  const auto file = std::filesystem::is_directory(path) ? path / "panel.cfg" : path;
  std::ifstream in(file);
  if (!in) {
    error = file.string() + ": cannot open the panel file";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  return parse_panel_file(text.str(), file, error);
}

} // namespace gaugehost
