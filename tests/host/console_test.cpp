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

ScriptRun run(const std::string &script) {
  gaugehost::HostOptions o;
  o.module_dir = GAUGE_MODULE_DIR;
  gaugehost::Host host(o);
  std::ostringstream out, err;
  gaugehost::Console console(host, out);
  std::istringstream in(script);
  const int code = console.run(in, err);
  return {code, out.str(), err.str()};
}

TEST(Console, ErrorsNameTheLineAndExitTwo) {
  const struct {
    const char *script;
    const char *message;
  } cases[] = {
      {"# comment\n\nfly\n",                                       "line 3: unknown command fly\n"             },
      {"load nosuch\n",                                            "line 1: missing module"                    },
      {"load frametest\nplace frametest!nosuch\n",                 "line 2: unknown gauge frametest!nosuch\n"  },
      {"show nosuch\n",                                            "line 1: unknown gauge nosuch\n"            },
      {"token 0xZZ 1\n",                                           "line 1: bad number 0xZZ\n"                 },
      {"token 0x41 1.5.2\n",                                       "line 1: bad number 1.5.2\n"                },
      {"wait -5\n",                                                "line 1: bad number -5\n"                   },
      {"update 2 x\n",                                             "line 1: bad number x\n"                    },
      {"load frametest\nplace frametest!kinds\nclick kinds 1 y\n", "line 3: bad number y\n"                    },
      {"expect kinds.1 \"open\n",                                  "line 1: unterminated quoted text\n"        },
      {"place frametest\n",                                        "line 1: usage: place MODULE!GAUGE [NAME]\n"},
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

TEST(Console, ShowEscapesQuotesAndBackslashes) {
  EXPECT_EQ(
      gaugehost::Console::split("expect a.1 \"say \\\"hi\\\" \\\\ # not a comment\" # comment")
          ->at(2),
      "\"say \"hi\" \\ # not a comment");
}

} // namespace
