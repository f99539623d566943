// NMEA through a log file, UDP and TCP on 127.0.0.1: a log drives the
// panel; corrupted sentences are rejected and counted by their fault.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "flight/tokens.h"
#include "link/nmea/nmea_source.h"
#include "session/session.h"

namespace live {
namespace {

struct RecordingBus : flight::TokenBus {
  std::map<uint32_t, double> tokens;
  double get(uint32_t id) const override {
    auto it = tokens.find(id);
    return it == tokens.end() ? 0 : it->second;
  }
  void set(uint32_t id, double value) override { tokens[id] = value; }
};

std::string sentence(const std::string &body) {
  char sum[4];
  std::snprintf(sum, sizeof sum, "%02X", nmea_checksum(body));
  return "$" + body + "*" + sum;
}

TEST(NmeaLink, LogDrivesThePanelAndItsCorruptSentencesAreCounted) {
  // tests/link/data/flight.nmea: 150 s at 1 Hz (RMC, GGA, PGRMZ, LXWP0), a
  // climb circling right, then a glide; one GSA nobody reads, and one each
  // of a bad checksum, a cut-off sentence, line noise and an unreadable
  // latitude.
  std::string error;
  auto nmea = NmeaSource::create(
      {.transport = NmeaTransport::file, .file = GAUGE_SOURCE_DIR "/tests/link/data/flight.nmea"},
      error);
  ASSERT_TRUE(nmea) << error;
  auto *source = nmea.get();
  session::SessionOptions o;
  o.panel_dir = GAUGE_SOURCE_DIR "/examples/sailplane";
  o.module_dir = GAUGE_MODULE_DIR;
  o.wav = false;
  session::Session session(o);
  ASSERT_TRUE(session.open(error)) << error;
  ASSERT_TRUE(session.run(std::move(nmea), error)) << error;

  EXPECT_EQ(source->accepted(), 601);
  EXPECT_EQ(source->rejected(NmeaFault::bad_checksum), 1);
  EXPECT_EQ(source->rejected(NmeaFault::no_checksum), 1);
  EXPECT_EQ(source->rejected(NmeaFault::garbage), 1);
  EXPECT_EQ(source->rejected(NmeaFault::bad_fields), 1);
  EXPECT_EQ(source->watch().gaps(), 0);
  EXPECT_NEAR(source->state().time_s, 149.0, 0.1);

  // The last second of the log:
  //   RMC 12:32:29 50 50.8429N 006 11.1840E 58.3 kn track 0; GGA 909.0 m;
  //   PGRMZ 2851 ft; LXWP0 115.2 km/h, baro 869.0 m, vario -0.90, heading 355,
  //   wind from 250 at 12 km/h.
  struct Row {
    uint32_t token;
    double expected, tolerance;
  };
  const Row rows[] = {
      {flight::kTokenLatitude,         (50 * 60 + 50.8429) * 1852.175925953, 1e-3},
      {flight::kTokenLongitude,        (6 * 60 + 11.1840) * 13031248921.78,  1.0 },
      {flight::kTokenAltitudeM,        909.0,                                1e-9},
      {flight::kTokenAirspeedKt,       115.2 / 1.852,                        1e-9},
      {flight::kTokenVerticalSpeed256, -0.90 * 256,                          1e-9},
      {flight::kTokenHeadingDeg,       355,                                  0   },
      {flight::kTokenWindFromDeg,      250,                                  0   },
      {flight::kTokenWindSpeedKt,      12.0 / 1.852,                         1e-9},
      {flight::kTokenClockHours,       12,                                   0   },
      {flight::kTokenClockMinutes,     32,                                   0   },
      {flight::kTokenClockSeconds,     29,                                   0   },
      {flight::kTokenTurnRate,         0,                                    0   },
  };
  const auto &host = session.host();
  for (const Row &r : rows) {
    EXPECT_NEAR(host.token(r.token), r.expected, r.tolerance) << "token 0x" << std::hex << r.token;
  }
  EXPECT_NEAR(source->state().pressure_altitude_m, 869.0, 1e-9);
}

TEST(NmeaLink, CorruptSentencesOverUdpAreRejectedAndCounted) {
  std::string error;
  auto nmea = NmeaSource::create({.transport = NmeaTransport::udp, .port = 0}, error);
  ASSERT_TRUE(nmea) << error;
  int sender = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(nmea->port());
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const std::string rmc =
      sentence("GPRMC,101500.00,A,4807.0380,N,01131.0000,E,022.4,084.4,230394,,,A");
  struct Row {
    std::string datagram;
    NmeaFault fault; // none: accepted
  };
  const Row rows[] = {
      {rmc,                      NmeaFault::none                                      },
      {rmc.substr(0,             rmc.size() - 2) + "00",                                NmeaFault::bad_checksum},
      {rmc.substr(0,                        rmc.size() - 1) + "G",                                                                  NmeaFault::bad_checksum}, // not a hex digit
      {rmc.substr(0, 30),NmeaFault::no_checksum},
      {rmc.substr(0,                     rmc.size() - 1),                                                                NmeaFault::no_checksum}, // one digit only
      {rmc.substr(1),             NmeaFault::garbage                              }, // no '$'
      {"\xff\xfe$GPRMC" + rmc.substr(6),                        NmeaFault::garbage                                                                },
      {"$GPRMC,101500.00,A\x01" + rmc.substr(18),                        NmeaFault::garbage               },
      {sentence("GPRMC,101500.00,A,4807.0380,N,01131.0000,E"),                        NmeaFault::bad_fields},
      {sentence("GPRMC,101500.00,A,4807.0380,Q,01131.0000,E,022.4,084.4,230394,,,A"),
       NmeaFault::bad_fields        },
      {sentence("GPGGA,101500.00,4807.0380,N,01131.0000,E,1,08,0.9,five,M,47.0,M,,"),
       NmeaFault::bad_fields                            },
      {sentence("PGRMZ,1234,x,3"),                        NmeaFault::bad_fields},
      {sentence("LXWP0,Y,fast,1665.5,1.71,,,,,,239,174,10.1"),                        NmeaFault::bad_fields                       },
      {sentence("PGRMZ,1234,f,3"),                        NmeaFault::none                               },
  };
  RecordingBus bus;
  long rejected_before = 0, accepted_before = 0;
  for (const Row &r : rows) {
    const auto before = r.fault == NmeaFault::none ? 0 : nmea->rejected(r.fault);
    ::sendto(sender, r.datagram.data(), r.datagram.size(), 0, reinterpret_cast<sockaddr *>(&to),
             sizeof to);
    nmea->step(0.1, bus);
    if (r.fault == NmeaFault::none) {
      EXPECT_EQ(nmea->accepted(), accepted_before + 1) << r.datagram;
      EXPECT_EQ(nmea->rejected_total(), rejected_before) << r.datagram;
    } else {
      EXPECT_EQ(nmea->rejected(r.fault), before + 1) << r.datagram;
      EXPECT_EQ(nmea->accepted(), accepted_before) << r.datagram;
    }
    accepted_before = nmea->accepted();
    rejected_before = nmea->rejected_total();
  }
  // Only the good RMC moved the aircraft.
  EXPECT_NEAR(nmea->state().latitude_deg, 48 + 7.038 / 60, 1e-9);
  EXPECT_NEAR(nmea->state().pressure_altitude_m, 1234 * 0.3048, 1e-9);
  ::close(sender);
}

TEST(NmeaLink, TcpLinesSplitAcrossWritesArriveWhole) {
  int server = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr *>(&at), sizeof at), 0);
  ASSERT_EQ(::listen(server, 1), 0);
  socklen_t len = sizeof at;
  ::getsockname(server, reinterpret_cast<sockaddr *>(&at), &len);
  std::string error;
  auto nmea =
      NmeaSource::create({.transport = NmeaTransport::tcp, .port = ntohs(at.sin_port)}, error);
  ASSERT_TRUE(nmea) << error;
  RecordingBus bus;
  nmea->step(0.1, bus); // connects; the kernel completes the handshake
  const int peer = ::accept(server, nullptr, nullptr);
  ASSERT_GE(peer, 0);
  const std::string two = sentence("PGRMZ,1000,m,3") + "\r\n" + sentence("PGRMZ,1100,m,3") + "\r\n";
  const size_t cuts[] = {0, 7, 20, two.size()}; // the second write ends mid-sentence
  for (size_t i = 0; i + 1 < std::size(cuts); ++i) {
    ASSERT_EQ(::send(peer, two.data() + cuts[i], cuts[i + 1] - cuts[i], 0),
              static_cast<ssize_t>(cuts[i + 1] - cuts[i]));
  }
  for (int i = 0; i < 100 && nmea->accepted() < 2; ++i) {
    nmea->step(0.1, bus);
  }
  EXPECT_EQ(nmea->accepted(), 2);
  EXPECT_EQ(nmea->rejected_total(), 0);
  EXPECT_NEAR(nmea->state().pressure_altitude_m, 1100, 1e-9);
  ::close(peer);
  ::close(server);
}

} // namespace
} // namespace live
