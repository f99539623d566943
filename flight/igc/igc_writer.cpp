#include <algorithm>
#include <cmath>
#include <ctime>

#include "flight/igc/igc.h"

namespace flight {
namespace {

std::tm utc(int64_t epoch_ms) {
  const std::time_t t = static_cast<std::time_t>(epoch_ms / 1000);
  std::tm out{};
  gmtime_r(&t, &out);
  return out;
}

// DDMMmmm / DDDMMmmm: whole degrees, then minutes times 1000.
void split_angle(double deg, int &whole, int &milli_minutes) {
  const double a = std::fabs(deg);
  whole = static_cast<int>(a);
  milli_minutes = static_cast<int>(std::lround((a - whole) * 60000.0));
  if (milli_minutes >= 60000) {
    milli_minutes -= 60000;
    ++whole;
  }
}

int altitude_field(double m) {
  return static_cast<int>(std::lround(std::clamp(m, -9999.0, 99999.0)));
}

} // namespace

std::string igc_file_name(int64_t utc_epoch_ms, const std::string &manufacturer,
                          const std::string &logger_id, int flight_of_day) {
  const std::tm t = utc(utc_epoch_ms);
  char name[64];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d-%.3s-%.3s-%02d.IGC", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, manufacturer.c_str(), logger_id.c_str(), flight_of_day);
  return name;
}

IgcWriter::~IgcWriter() {
  close();
}

bool IgcWriter::open(const std::filesystem::path &path, const Header &h, std::string &error) {
  close();
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    error = path.string() + ": cannot create the IGC file";
    return false;
  }
  fixes_ = 0;
  const std::tm t = utc(h.utc_epoch_ms);
  std::fprintf(file_, "A%s%sgaugehost\r\n", kIgcManufacturer, kIgcLoggerId);
  std::fprintf(file_, "HFDTEDATE:%02d%02d%02d,%02d\r\n", t.tm_mday, t.tm_mon + 1, t.tm_year % 100,
               h.flight_of_day);
  std::fprintf(file_, "HFPLTPILOTINCHARGE:%s\r\n", h.pilot.c_str());
  std::fprintf(file_, "HFGTYGLIDERTYPE:%s\r\n", h.glider_type.c_str());
  std::fprintf(file_, "HFGIDGLIDERID:%s\r\n", h.glider_id.c_str());
  std::fprintf(file_, "HFDTMGPSDATUM:WGS84\r\n");
  std::fprintf(file_, "HFRFWFIRMWAREVERSION:1.0\r\n");
  std::fprintf(file_, "HFRHWHARDWAREVERSION:1.0\r\n");
  std::fprintf(file_, "HFFTYFRTYPE:gaugehost,flight recorder stand-in\r\n");
  std::fprintf(file_, "HFGPSRECEIVER:simulated\r\n");
  std::fprintf(file_, "HFPRSPRESSALTSENSOR:simulated\r\n");
  std::fprintf(file_, "HFCIDCOMPETITIONID:\r\n");
  std::fprintf(file_, "HFCCLCOMPETITIONCLASS:\r\n");
  // Extensions: fix accuracy (m) in bytes 36-38, indicated airspeed (km/h) in 39-41.
  std::fprintf(file_, "I023638FXA3941IAS\r\n");
  return true;
}

void IgcWriter::add_fix(int64_t utc_epoch_ms, double latitude_deg, double longitude_deg,
                        double pressure_altitude_m, double gnss_altitude_m, double airspeed_kmh) {
  if (file_ == nullptr) {
    return;
  }
  const std::tm t = utc(utc_epoch_ms);
  int lat_d = 0, lat_mm = 0, lon_d = 0, lon_mm = 0;
  split_angle(latitude_deg, lat_d, lat_mm);
  split_angle(longitude_deg, lon_d, lon_mm);
  const int ias = static_cast<int>(std::lround(std::clamp(airspeed_kmh, 0.0, 999.0)));
  std::fprintf(file_, "B%02d%02d%02d%02d%05d%c%03d%05d%cA%05d%05d%03d%03d\r\n", t.tm_hour, t.tm_min,
               t.tm_sec, lat_d, lat_mm, latitude_deg < 0 ? 'S' : 'N', lon_d, lon_mm,
               longitude_deg < 0 ? 'W' : 'E', altitude_field(pressure_altitude_m),
               altitude_field(gnss_altitude_m), 5, ias);
  ++fixes_;
}

void IgcWriter::close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

} // namespace flight
