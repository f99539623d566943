// The script console: one command per line, drives a Host headlessly.
//
//   load MODULE | unload MODULE | place MODULE!GAUGE [NAME] | remove NAME
//   token ID [VALUE] | time | wait MS | update [N [MS]] | click NAME X Y [FLAGS]
//   show NAME | expect NAME.INDEX VALUE | keys | sounds | messages | recorder
//   cd DIR | audio FILE | echo TEXT
//
// `#` starts a comment; numbers are decimal or 0x hex. Errors print
// "line N: ..." and end the run with exit code 2; a failed expect prints
// "line N: expected ..., got ..." and ends it with exit code 1.
// Other components add commands with add_command (the offset server's
// `offset` and `server`, for example).
//
// Numbers are range-checked against what each command takes; a number that
// does not fit is an error, never wrapped.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace gaugehost {

// Outcome of one command.
struct CommandResult {
  int exit_code = 0;   // 0 go on, 1 failed expectation, 2 error
  std::string message; // printed as "line N: message" when exit_code != 0
  static CommandResult ok() { return {}; }
  static CommandResult error(std::string text) { return {2, std::move(text)}; }
  static CommandResult failed(std::string text) { return {1, std::move(text)}; }
};

class Console {
public:
  using Args = std::vector<std::string>;
  using Handler = std::function<CommandResult(Console &, const Args &args)>;

  Console(Host &host, std::ostream &out);

  // Runs a whole script. Returns 0, 1 (failed expect) or 2 (error). A read
  // error of `in` is an error ("line N: cannot read script"), and so is a
  // failure of the audio recording, reported after the command during
  // which it happened.
  int run(std::istream &in, std::ostream &err);
  // Runs one line (without the line-number prefix on errors).
  CommandResult execute(const std::string &line);

  void add_command(const std::string &name, Handler handler);

  Host &host() { return host_; }
  std::ostream &out() { return out_; }

  // Number parsing shared by commands: decimal (may be negative or
  // fractional for parse_double) or 0x hex.
  static std::optional<double> parse_double(const std::string &text);
  static std::optional<long long> parse_integer(const std::string &text);
  // A whole number from 0 to 2^64 - 1, decimal or 0x hex, without a sign.
  static std::optional<unsigned long long> parse_unsigned(const std::string &text);
  // Splits a line into words; a double-quoted word keeps its spaces, with \"
  // and \\ escapes, and stays marked as quoted by a leading '"'. Text after an
  // unquoted # is dropped. Returns nullopt for an unterminated quote.
  static std::optional<Args> split(const std::string &line);

private:
  void add_builtin_commands();
  Host &host_;
  std::ostream &out_;
  std::map<std::string, Handler> commands_;
};

} // namespace gaugehost
