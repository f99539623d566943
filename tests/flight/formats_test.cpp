// The text formats: IGC records a reader meets in real logs, the writer's
// records read back, and scenario lines with their faults.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "flight/igc/igc.h"
#include "flight/replay/replay_source.h"
#include "flight/scenario/scenario.h"

namespace flight {
namespace {

TEST(IgcReader, ReadsTheRecordsOfRealLoggers) {
  const std::string log =
      "AXXXABC\r\nHFDTE281010\r\nI023638FXA3941IAS\r\nLXXX comment\r\n"
      "B2359583522133S14615870EA0103901080007155\r\n"
      "B2359593522133S14615870EV-001200000007\r\n"     // invalid fix, short extension
      "B0000013522060S14615845EA01040010800070156\r\n" // past midnight
      "Bgarbage\r\nE000002PEV\r\nGABCDEF\r\n";
  std::string error;
  const auto parsed = parse_igc(log, "t.igc", error);
  ASSERT_TRUE(parsed) << error;
  ASSERT_EQ(parsed->fixes.size(), 3u);
  EXPECT_EQ(parsed->skipped_lines, 1);
  EXPECT_EQ(parsed->year, 2010);
  EXPECT_EQ(parsed->extension_index("IAS"), 1);
  const IgcFix &a = parsed->fixes[0], &b = parsed->fixes[1], &c = parsed->fixes[2];
  EXPECT_NEAR(a.latitude_deg, -(35 + 22.133 / 60), 1e-9);
  EXPECT_NEAR(a.longitude_deg, 146 + 15.870 / 60, 1e-9);
  EXPECT_EQ(a.extensions[1].value_or(-1), 155);
  EXPECT_FALSE(b.valid);
  EXPECT_EQ(b.pressure_altitude_m, -12);
  EXPECT_FALSE(b.extensions[1].has_value());
  EXPECT_DOUBLE_EQ(c.time_s, 86400 + 1);
}

// Logs that cannot be replayed as they stand (found by fuzzing): the reader
// or the replay refuses them, or an extension it cannot place has no value.
TEST(IgcReader, RefusesWhatItCannotPlace) {
  const std::string fix = "3522133S14615870EA0103901080007155\n";
  struct Row {
    std::string log;
    const char *error; // of the reader, or else of the replay; "" for none
  };
  const Row rows[] = {
      {"B235958" + fix + "I023638FXA3941IAS\nB235959" + fix,
       "t.igc:2: I record after the first B record"                      },
      {"I010001TAS\nB235958" + fix + "B235959" + fix,                  ""}, // bytes count from 1
      {"B235959" + fix + "B000000" + fix + "B235959" + fix + "B000000" + fix + "B235959" + fix +
           "B000000" + fix + "B235959" + fix + "B000000" + fix,
       "the log spans 72 hours, more than a flight's 48"                 }, // each run back is a new day
  };
  for (const Row &row : rows) {
    std::string error;
    auto log = parse_igc(row.log, "t.igc", error);
    if (log) {
      EXPECT_TRUE(log->fixes[0].extensions.empty() || !log->fixes[0].extensions[0]) << row.log;
      EXPECT_EQ(ReplaySource::create(*log, 2, error) == nullptr, *row.error != '\0') << row.log;
    }
    EXPECT_EQ(error, row.error) << row.log;
  }
}

TEST(IgcWriter, WritesRecordsTheReaderReadsBack) {
  const auto path = std::filesystem::temp_directory_path() / "gaugehost-writer-test.igc";
  IgcWriter writer;
  std::string error;
  ASSERT_TRUE(writer.open(path, {.utc_epoch_ms = 1780308000000, .flight_of_day = 2}, error));
  writer.add_fix(1780308000000, 50.823, 6.186, -12.4, 190.6, 99.6);
  writer.add_fix(1780308001000, -33.5, -70.25, 1500, 1520, 150);
  writer.close();
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  const auto log = parse_igc(text.str(), path.string(), error);
  ASSERT_TRUE(log) << error;
  ASSERT_EQ(log->fixes.size(), 2u);
  EXPECT_NEAR(log->fixes[0].latitude_deg, 50.823, 1e-5);
  EXPECT_EQ(log->fixes[0].pressure_altitude_m, -12);
  EXPECT_EQ(log->fixes[0].extensions[1].value_or(0), 100);
  EXPECT_NEAR(log->fixes[1].longitude_deg, -70.25, 1e-5);
  EXPECT_EQ(log->date_epoch_ms(), 1780272000000);
  EXPECT_EQ(igc_file_name(1780308000000, "XXX", "GHR", 2), "2026-06-01-XXX-GHR-02.IGC");
  std::filesystem::remove(path);
}

TEST(Scenario, FaultsNameFileAndLine) {
  struct Row {
    const char *text;
    const char *message;
  };
  const Row rows[] = {
      {"position 50:49N\n",           "s.scn:1: missing value after \"50:49N\""                  },
      {"position 50:61N 6E\n",        "s.scn:1: not a latitude or longitude: \"50:61N\""         },
      {"\nwind 270 fast\n",           "s.scn:2: not a number: \"fast\""                          },
      {"at 1:xx click gpsnav ON\n",   "s.scn:1: not a time (MM:SS or seconds): \"1:xx\""         },
      {"then fly home\n",             "s.scn:1: unknown action \"fly\""                          },
      {"then circle until\n",         "s.scn:1: missing value after \"until\""                   },
      {"then circle right soon 5\n",  "s.scn:1: unexpected \"soon\" (until ALTITUDE or for TIME)"},
      {"units 3\n",                   "s.scn:1: units must be 0, 1 or 2"                         },
      {"glider ASW\n",                "s.scn:1: unknown keyword \"glider\""                      },
 // Numbers no field can hold (found by fuzzing).
      {"at 0:13333333333 end\n",      "s.scn:1: not a time (MM:SS or seconds): \"0:13333333333\""},
      {"units nan\n",                 "s.scn:1: not a number: \"nan\""                           },
      {"com 1e20\n",                  "s.scn:1: COM frequency out of range: \"1e20\""            },
      {"then click gpsnav ON 1e10\n", "s.scn:1: click count out of range: \"1e10\""              },
      {"date -2147483648-01-01\n",    "s.scn:1: date must be YYYY-MM-DD"                         },
      {"position 50:nanN 6E\n",       "s.scn:1: not a latitude or longitude: \"50:nanN\""        },
  };
  for (const Row &row : rows) {
    std::string error;
    EXPECT_FALSE(parse_scenario(row.text, "s.scn", error)) << row.text;
    EXPECT_EQ(error, row.message) << row.text;
  }
}

} // namespace
} // namespace flight
