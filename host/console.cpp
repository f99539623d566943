#include "host/console.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <unistd.h>

#include "platform/fssound/fssound_host.h"
#include "platform/os/os_host.h"
#include "platform/soarrec/soarrec_host.h"

namespace gaugehost {
namespace {

constexpr double kExpectTolerance = 1e-6;

std::string format_number(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.10g", value);
  return buffer;
}

std::string hex(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", value);
  return buffer;
}

std::string quote(const std::string &text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
    }
    out += c;
  }
  return out + "\"";
}

const char *kind_name(int32_t kind) {
  switch (kind) {
  case kElementStaticImage:
    return "image";
  case kElementNeedle:
    return "needle";
  case kElementString:
    return "string";
  case kElementShift:
    return "shift";
  case kElementIcon:
    return "icon";
  case kElementScroll:
    return "scroll";
  case kElementRotate:
    return "rotate";
  default:
    return "unknown";
  }
}

// Number of values an element kind shows.
int value_count(int32_t kind) {
  switch (kind) {
  case kElementNeedle:
  case kElementIcon:
    return 1;
  case kElementShift:
  case kElementScroll:
    return 2;
  case kElementRotate:
    return 3;
  default:
    return 0;
  }
}

std::string describe(const ElementState &state) {
  std::string line = kind_name(state.kind);
  if (state.kind == kElementString) {
    return line + " " + quote(state.text);
  }
  for (int i = 0; i < value_count(state.kind); ++i) {
    line += ' ';
    line += format_number(state.values[i]);
  }
  return line;
}

// Largest cycle count of one `update`: more is a typing slip, not a session.
constexpr long long kMaxUpdateCycles = 0x7FFFFFFF;
constexpr long long kLargestInteger = 0x7FFFFFFFFFFFFFFF;

// An integer argument from `lo` to `hi`: "bad number" for text that is not
// one, "out of range" for one that does not fit.
std::optional<long long> integer_in(const std::string &text, long long lo, long long hi,
                                    std::optional<CommandResult> &failure) {
  const auto value = Console::parse_integer(text);
  if (!value) {
    failure = CommandResult::error("bad number " + text);
    return std::nullopt;
  }
  if (*value < lo || *value > hi) {
    failure = CommandResult::error("number " + text + " out of range (" + std::to_string(lo) +
                                   " to " + std::to_string(hi) + ")");
    return std::nullopt;
  }
  return value;
}

} // namespace

std::optional<double> Console::parse_double(const std::string &text) {
  if (text.empty()) {
    return std::nullopt;
  }
  if (auto integer = parse_integer(text)) {
    return static_cast<double>(*integer);
  }
  char *end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value) ||
      text.find_first_of("xXpP") != std::string::npos) {
    return std::nullopt;
  }
  return value;
}

std::optional<unsigned long long> Console::parse_unsigned(const std::string &text) {
  size_t start = 0;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    start = 2;
  }
  if (start >= text.size()) {
    return std::nullopt;
  }
  for (size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    const bool digit =
        base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : (c >= '0' && c <= '9');
    if (!digit) {
      return std::nullopt;
    }
  }
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str() + start, nullptr, base);
  if (errno != 0) {
    return std::nullopt;
  }
  return value;
}

std::optional<long long> Console::parse_integer(const std::string &text) {
  if (text.empty()) {
    return std::nullopt;
  }
  const bool signed_text = text[0] == '-' || text[0] == '+';
  const auto magnitude = parse_unsigned(signed_text ? text.substr(1) : text);
  if (!magnitude || *magnitude > static_cast<unsigned long long>(kLargestInteger)) {
    return std::nullopt;
  }
  const long long value = static_cast<long long>(*magnitude);
  return text[0] == '-' ? -value : value;
}

std::optional<Console::Args> Console::split(const std::string &line) {
  Args words;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c == '#') {
      break;
    }
    if (c == '"') {
      std::string word = "\"";
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '\\' && i + 1 < line.size()) {
          word += line[i + 1];
          i += 2;
        } else if (line[i] == '"') {
          closed = true;
          ++i;
          break;
        } else {
          word += line[i++];
        }
      }
      if (!closed) {
        return std::nullopt;
      }
      words.push_back(word);
      continue;
    }
    std::string word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
           line[i] != '\n') {
      word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

Console::Console(Host &host, std::ostream &out) : host_(host), out_(out) {
  add_builtin_commands();
}

void Console::add_command(const std::string &name, Handler handler) {
  commands_[name] = std::move(handler);
}

CommandResult Console::execute(const std::string &line) {
  auto words = split(line);
  if (!words) {
    return CommandResult::error("unterminated quoted text");
  }
  if (words->empty()) {
    return CommandResult::ok();
  }
  auto it = commands_.find((*words)[0]);
  if (it == commands_.end()) {
    return CommandResult::error("unknown command " + (*words)[0]);
  }
  Args args(words->begin() + 1, words->end());
  return it->second(*this, args);
}

int Console::run(std::istream &in, std::ostream &err) {
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    CommandResult result = execute(line);
    out_.flush();
    // The mix is written as time passes, so a full disk shows during
    // whichever command moved the clock.
    if (const std::string audio_error = fssound::take_recording_error();
        result.exit_code == 0 && !audio_error.empty()) {
      result = CommandResult::error(audio_error);
    }
    if (result.exit_code != 0) {
      err << "line " << number << ": " << result.message << std::endl;
      return result.exit_code;
    }
  }
  if (!in.eof()) {
    err << "line " << number + 1 << ": cannot read script" << std::endl;
    return 2;
  }
  return 0;
}

void Console::add_builtin_commands() {
  auto need = [](const Args &args, size_t min, size_t max,
                 const char *usage) -> std::optional<CommandResult> {
    if (args.size() < min || args.size() > max) {
      return CommandResult::error(std::string("usage: ") + usage);
    }
    return std::nullopt;
  };

  add_command("load", [need](Console &c, const Args &a) {
    if (auto e = need(a, 1, 1, "load MODULE"))
      return *e;
    std::string error;
    if (!c.host().load_module(a[0], error))
      return CommandResult::error(error);
    return CommandResult::ok();
  });

  add_command("unload", [need](Console &c, const Args &a) {
    if (auto e = need(a, 1, 1, "unload MODULE"))
      return *e;
    std::string error;
    if (!c.host().unload_module(a[0], error))
      return CommandResult::error(error);
    return CommandResult::ok();
  });

  add_command("place", [need](Console &c, const Args &a) {
    if (auto e = need(a, 1, 2, "place MODULE!GAUGE [NAME]"))
      return *e;
    const auto bang = a[0].find('!');
    if (bang == std::string::npos || bang == 0 || bang + 1 == a[0].size()) {
      return CommandResult::error("usage: place MODULE!GAUGE [NAME]");
    }
    const std::string module = a[0].substr(0, bang);
    const std::string gauge = a[0].substr(bang + 1);
    std::string error;
    if (!c.host().place(module, gauge, a.size() > 1 ? a[1] : gauge, error)) {
      return CommandResult::error(error);
    }
    return CommandResult::ok();
  });

  add_command("remove", [need](Console &c, const Args &a) {
    if (auto e = need(a, 1, 1, "remove NAME"))
      return *e;
    std::string error;
    if (!c.host().remove(a[0], error))
      return CommandResult::error(error);
    return CommandResult::ok();
  });

  add_command("token", [need](Console &c, const Args &a) {
    if (auto e = need(a, 1, 2, "token ID [VALUE]"))
      return *e;
    std::optional<CommandResult> failure;
    const auto id = integer_in(a[0], 0, 0xFFFFFFFFll, failure);
    if (!id)
      return *failure;
    if (a.size() == 2) {
      const auto value = parse_double(a[1]);
      if (!value)
        return CommandResult::error("bad number " + a[1]);
      c.host().set_token(static_cast<uint32_t>(*id), *value);
    } else {
      c.out() << "token " << hex(static_cast<uint32_t>(*id)) << " "
              << format_number(c.host().token(static_cast<uint32_t>(*id))) << "\n";
    }
    return CommandResult::ok();
  });

  add_command("time", [need](Console &c, const Args &a) {
    if (auto e = need(a, 0, 0, "time"))
      return *e;
    c.out() << "time " << c.host().time_ms() << "\n";
    return CommandResult::ok();
  });

  add_command("wait", [need](Console &c, const Args &a) {
    if (auto e = need(a, 1, 1, "wait MS"))
      return *e;
    std::optional<CommandResult> failure;
    const auto ms = integer_in(a[0], 0, kLargestInteger, failure);
    if (!ms)
      return *failure;
    if (!c.host().advance(*ms))
      return CommandResult::error("wait " + a[0] + " would run the clock past its end");
    return CommandResult::ok();
  });

  add_command("update", [need](Console &c, const Args &a) {
    if (auto e = need(a, 0, 2, "update [N [MS]]"))
      return *e;
    long long cycles = 1;
    long long step = 55;
    std::optional<CommandResult> failure;
    if (!a.empty()) {
      const auto n = integer_in(a[0], 0, kMaxUpdateCycles, failure);
      if (!n)
        return *failure;
      cycles = *n;
    }
    if (a.size() > 1) {
      const auto ms = integer_in(a[1], 0, kLargestInteger, failure);
      if (!ms)
        return *failure;
      step = *ms;
    }
    if (!c.host().update(cycles, step))
      return CommandResult::error("update would run the clock past its end");
    return CommandResult::ok();
  });

  add_command("click", [need](Console &c, const Args &a) {
    if (auto e = need(a, 3, 4, "click NAME X Y [FLAGS]"))
      return *e;
    // Design pixels are 32-bit signed in the mouse records.
    constexpr long long kLowest = -0x80000000ll, kHighest = 0x7FFFFFFFll;
    std::optional<CommandResult> failure;
    const auto x = integer_in(a[1], kLowest, kHighest, failure);
    if (!x)
      return *failure;
    const auto y = integer_in(a[2], kLowest, kHighest, failure);
    if (!y)
      return *failure;
    long long flags = kMouseClick;
    if (a.size() > 3) {
      const auto f = integer_in(a[3], 0, 0xFFFFFFFFll, failure);
      if (!f)
        return *failure;
      flags = *f;
    }
    std::string error;
    if (!c.host().click(a[0], static_cast<int>(*x), static_cast<int>(*y),
                        static_cast<uint32_t>(flags), error)) {
      return CommandResult::error(error);
    }
    return CommandResult::ok();
  });

  add_command("show", [need](Console &c, const Args &a) {
    if (auto e = need(a, 1, 1, "show NAME"))
      return *e;
    PlacedGauge *g = c.host().gauge(a[0]);
    if (g == nullptr)
      return CommandResult::error("unknown gauge " + a[0]);
    for (const ElementState &state : g->elements) {
      c.out() << g->name << "." << state.index << " " << describe(state) << "\n";
    }
    return CommandResult::ok();
  });

  add_command("expect", [need](Console &c, const Args &a) {
    if (auto e = need(a, 2, 4, "expect NAME.INDEX VALUE..."))
      return *e;
    const auto dot = a[0].rfind('.');
    if (dot == std::string::npos)
      return CommandResult::error("usage: expect NAME.INDEX VALUE...");
    const std::string name = a[0].substr(0, dot);
    const auto index = parse_integer(a[0].substr(dot + 1));
    PlacedGauge *g = c.host().gauge(name);
    if (g == nullptr)
      return CommandResult::error("unknown gauge " + name);
    if (!index || *index < 0 || *index >= static_cast<long long>(g->elements.size())) {
      return CommandResult::error("no element " + a[0]);
    }
    const ElementState &state = g->elements[static_cast<size_t>(*index)];
    if (state.kind == kElementString) {
      if (a.size() != 2 || a[1].empty() || a[1][0] != '"') {
        return CommandResult::error(a[0] + " is a string: expect a double-quoted text");
      }
      const std::string want = a[1].substr(1);
      if (want != state.text) {
        return CommandResult::failed("expected " + quote(want) + ", got " + quote(state.text));
      }
      return CommandResult::ok();
    }
    const int count = value_count(state.kind);
    if (count == 0)
      return CommandResult::error(a[0] + " is an image and has no value");
    if (static_cast<int>(a.size()) - 1 != count) {
      return CommandResult::error(a[0] + " has " + std::to_string(count) + " value(s)");
    }
    std::string want_text, got_text;
    bool match = true;
    for (int i = 0; i < count; ++i) {
      const auto want = parse_double(a[static_cast<size_t>(i) + 1]);
      if (!want)
        return CommandResult::error("bad number " + a[static_cast<size_t>(i) + 1]);
      match = match && std::fabs(*want - state.values[i]) <= kExpectTolerance;
      if (i > 0) {
        want_text += ' ';
        got_text += ' ';
      }
      want_text += format_number(*want);
      got_text += format_number(state.values[i]);
    }
    if (!match)
      return CommandResult::failed("expected " + want_text + ", got " + got_text);
    return CommandResult::ok();
  });

  add_command("keys", [need](Console &c, const Args &a) {
    if (auto e = need(a, 0, 0, "keys"))
      return *e;
    uint64_t dropped = 0;
    const auto events = c.host().take_key_events(&dropped);
    if (dropped > 0) {
      c.out() << "keys dropped " << dropped << "\n";
    }
    for (const KeyEvent &k : events) {
      c.out() << "key " << hex(k.id) << " " << k.value << "\n";
    }
    return CommandResult::ok();
  });

  add_command("sounds", [need](Console &c, const Args &a) {
    if (auto e = need(a, 0, 0, "sounds"))
      return *e;
    uint64_t dropped = 0;
    const auto calls = fssound::take_calls(&dropped);
    if (dropped > 0) {
      c.out() << "sounds dropped " << dropped << "\n";
    }
    for (const auto &call : calls) {
      c.out() << "sound " << call.op << " " << hex(static_cast<uint32_t>(call.resource_id))
              << (call.args.empty() ? "" : " ") << call.args << " -> " << call.result << "\n";
    }
    return CommandResult::ok();
  });

  add_command("messages", [need](Console &c, const Args &a) {
    if (auto e = need(a, 0, 0, "messages"))
      return *e;
    for (const auto &box : platform_os::take_message_boxes()) {
      c.out() << "message " << box.caption << " | " << box.text << "\n";
    }
    return CommandResult::ok();
  });

  add_command("recorder", [need](Console &c, const Args &a) {
    if (auto e = need(a, 0, 0, "recorder"))
      return *e;
    for (const auto &call : soarrec::take_calls()) {
      c.out() << "recorder " << (call.on ? "on" : "off") << "\n";
    }
    return CommandResult::ok();
  });

  add_command("cd", [need](Console &, const Args &a) {
    if (auto e = need(a, 1, 1, "cd DIR"))
      return *e;
    if (chdir(a[0].c_str()) != 0)
      return CommandResult::error("cannot enter folder " + a[0]);
    return CommandResult::ok();
  });

  add_command("audio", [need](Console &, const Args &a) {
    if (auto e = need(a, 1, 1, "audio FILE"))
      return *e;
    std::string error;
    if (!fssound::start_recording(a[0], &error))
      return CommandResult::error(error);
    return CommandResult::ok();
  });

  add_command("echo", [](Console &c, const Args &a) {
    for (size_t i = 0; i < a.size(); ++i) {
      const std::string &w = a[i];
      c.out() << (i ? " " : "") << (!w.empty() && w[0] == '"' ? w.substr(1) : w);
    }
    c.out() << "\n";
    return CommandResult::ok();
  });
}

} // namespace gaugehost
