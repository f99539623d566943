// IGC flight logs: a reader for real loggers' files (invalid fixes, comment
// and logger-specific records, B-record extensions) and a writer for the
// flight recorder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace flight {

struct IgcExtension {
  std::string code; // three letters, e.g. "TAS"
  int start = 0;    // first byte, counted from 1 at the 'B'
  int end = 0;      // last byte
};

struct IgcFix {
  double time_s = 0; // UTC seconds since midnight of the log's date; keeps counting past midnight
  double latitude_deg = 0;
  double longitude_deg = 0;
  bool valid = false; // 'A': 3-D fix; 'V': keep the time, distrust position and GNSS altitude
  double pressure_altitude_m = 0;
  double gnss_altitude_m = 0;
  std::vector<std::optional<double>> extensions; // raw values, in the order of IgcLog::extensions
};

struct IgcLog {
  int year = 0, month = 0, day = 0; // from the HFDTE record (0 if missing)
  std::string manufacturer;         // from the A record
  std::string glider_type;
  std::vector<IgcExtension> extensions;
  std::vector<IgcFix> fixes;
  int skipped_lines = 0; // B records too short or unreadable

  // Index of an extension by code, or -1.
  int extension_index(const std::string &code) const;
  // Midnight UTC of the log's date, ms since the epoch.
  int64_t date_epoch_ms() const;
};

std::optional<IgcLog> parse_igc(const std::string &text, const std::string &name,
                                std::string &error);
std::optional<IgcLog> read_igc(const std::filesystem::path &file, std::string &error);

// Long-form IGC file name: YYYY-MM-DD-MMM-SSS-NN.IGC.
std::string igc_file_name(int64_t utc_epoch_ms, const std::string &manufacturer,
                          const std::string &logger_id, int flight_of_day);

// Writes a log as the flight goes: A and H records at open, the I record,
// then one B record per add_fix.
class IgcWriter {
public:
  struct Header {
    int64_t utc_epoch_ms = 0; // date of the flight
    int flight_of_day = 1;
    std::string pilot;
    std::string glider_type;
    std::string glider_id;
  };
  IgcWriter() = default;
  ~IgcWriter();
  IgcWriter(const IgcWriter &) = delete;
  IgcWriter &operator=(const IgcWriter &) = delete;

  bool open(const std::filesystem::path &path, const Header &header, std::string &error);
  // Sample record:
  // B1002035049382N00611183EA0019000205005102
  // time, latitude DDMMmmm N, longitude DDDMMmmm E, validity, pressure and
  // GNSS altitude (m, 5 digits, "-0012" below zero), then FXA (m) and IAS (km/h).
  void add_fix(int64_t utc_epoch_ms, double latitude_deg, double longitude_deg,
               double pressure_altitude_m, double gnss_altitude_m, double airspeed_kmh);
  void close();
  bool is_open() const { return file_ != nullptr; }
  int fix_count() const { return fixes_; }

private:
  std::FILE *file_ = nullptr;
  int fixes_ = 0;
};

inline constexpr const char *kIgcManufacturer = "XXX"; // no approved manufacturer code
inline constexpr const char *kIgcLoggerId = "GHR";

} // namespace flight
