// The console's interface is how users and tools drive gauges: its messages
// and exit codes are part of it.
#include <gtest/gtest.h>
#include <sstream>

#include "host/console.h"

namespace {

struct ScriptRun {
  int code;
  std::string out;
  std::string err;
};

ScriptRun run(std::istream &in, gaugehost::HostOptions o = {}) {
  o.module_dir = GAUGE_MODULE_DIR;
  gaugehost::Host host(o);
  std::ostringstream out, err;
  gaugehost::Console console(host, out);
  const int code = console.run(in, err);
  return {code, out.str(), err.str()};
}

ScriptRun run(const std::string &script, gaugehost::HostOptions o = {}) {
  std::istringstream in(script);
  return run(in, o);
}

TEST(Console, ErrorsNameTheLineAndExitTwo) {
  const struct {
    const char *script;
    const char *message;
  } cases[] = {
      {"# comment\n\nfly\n",                                                 "line 3: unknown command fly\n"                                       },
      {"load nosuch\n",                                                      "line 1: missing module"                                              },
      {"load frametest\nplace frametest!nosuch\n",                           "line 2: unknown gauge frametest!nosuch\n"                            },
      {"show nosuch\n",                                                      "line 1: unknown gauge nosuch\n"                                      },
      {"token 0xZZ 1\n",                                                     "line 1: bad number 0xZZ\n"                                           },
      {"token 0x41 1.5.2\n",                                                 "line 1: bad number 1.5.2\n"                                          },
      {"wait -5\n",                                                          "line 1: number -5 out of range (0 to 9223372036854775807)\n"         },
      {"update 2 x\n",                                                       "line 1: bad number x\n"                                              },
      {"load frametest\nplace frametest!kinds\nclick kinds 1 y\n",           "line 3: bad number y\n"                                              },
      {"expect kinds.1 \"open\n",                                            "line 1: unterminated quoted text\n"                                  },
      {"place frametest\n",                                                  "line 1: usage: place MODULE!GAUGE [NAME]\n"                          },
 // Numbers that do not fit what a command takes are refused, never wrapped.
      {"update 2147483648\n",                                                "line 1: number 2147483648 out of range (0 to 2147483647)\n"          },
      {"update 4294967297 10\n",                                             "line 1: number 4294967297 out of range (0 to 2147483647)\n"          },
      {"load frametest\nplace frametest!kinds\nclick kinds 4294967404 31\n",
       "line 3: number 4294967404 out of range (-2147483648 to 2147483647)\n"                                                                      },
      {"wait 9223372036854775807\n",
       "line 1: wait 9223372036854775807 would run the clock past its end\n"                                                                       },
      {"wait 4611686018427387904\nwait 4611686018427387904\n",
       "line 2: wait 4611686018427387904 would run the clock past its end\n"                                                                       },
      {"update 2 4611686018427387904\n",                                     "line 1: update would run the clock past its end\n"                   },
 // Nothing can be written to a full disk: no empty WAV file passes for a recording.
      {"audio /dev/full\n",                                                  "line 1: cannot write audio file /dev/full: No space left on device\n"},
  };
  for (const auto &c : cases) {
    const ScriptRun r = run(c.script);
    EXPECT_EQ(r.code, 2) << c.script;
    EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << c.script << " gave " << r.err;
  }
}

TEST(Console, FailedExpectationExitsOneWithBothValues) {
  const std::string prefix = "load frametest\nplace frametest!kinds\ntoken 0x41 512\nupdate\n";
  ScriptRun r = run(prefix + "expect kinds.2 3\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "line 5: expected 3, got 2\n");
  r = run(prefix + "expect kinds.1 \"ABC\"\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "line 5: expected \"ABC\", got \"ABCDEFGHIJKL\"\n");
  r = run(prefix + "expect kinds.6 10 21\n");
  EXPECT_EQ(r.err, "line 5: expected 10 21, got 10 20\n");
  // Within the tolerance.
  EXPECT_EQ(run(prefix + "expect kinds.2 2.0000005\nexpect kinds.6 0xA 20\n").code, 0);
}

TEST(Console, PrintsInItsDocumentedFormats) {
  const ScriptRun r =
      run("token 0x3D 55.5\ntoken 0x3D\ntoken 61\ntime\nwait 250\ntime\nupdate 2 100\ntime\n"
          "load frametest\nplace frametest!kinds\nclick kinds 33 3\nkeys\nkeys\necho \"a b\" c\n");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "token 0x3D 55.5\ntoken 0x3D 55.5\ntime 0\ntime 250\ntime 450\nkey 0x1015B 0\na b c\n");
}

TEST(Console, KeyLogKeepsTheNewestAndSaysHowManyWereDropped) {
  gaugehost::HostOptions o;
  o.key_log_limit = 3;
  // The icon of `kinds` sends one key event per update while token 0x500 is set.
  const ScriptRun r =
      run("load frametest\nplace frametest!kinds\ntoken 0x500 1\nupdate 5\nkeys\nkeys\n", o);
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "keys dropped 2\nkey 0x10999 7\nkey 0x10999 7\nkey 0x10999 7\n");
}

TEST(Console, AScriptThatCannotBeReadIsAnError) {
  // Gives one line, then fails as a disk would.
  struct FailingBuffer : std::streambuf {
    std::string text = "echo a\n";
    bool given = false;
    int_type underflow() override {
      if (given) {
        throw std::ios_base::failure("read error");
      }
      given = true;
      setg(text.data(), text.data(), text.data() + text.size());
      return traits_type::to_int_type(text[0]);
    }
  } buffer;
  std::istream in(&buffer);
  const ScriptRun r = run(in);
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.out, "a\n");
  EXPECT_EQ(r.err, "line 2: cannot read script\n");
}

TEST(Console, ShowEscapesQuotesAndBackslashes) {
  EXPECT_EQ(
      gaugehost::Console::split("expect a.1 \"say \\\"hi\\\" \\\\ # not a comment\" # comment")
          ->at(2),
      "\"say \"hi\" \\ # not a comment");
}

} // namespace
