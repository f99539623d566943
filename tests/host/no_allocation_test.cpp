// No module allocates after load: the example panel (all 24 gauges) flown
// for three simulated hours by the sailplane model, every button of every
// gauge clicked every ten minutes, then every gauge removed and placed
// again, while allocation_counter counts. The modules' share must be zero
// throughout, and the host's update walks (host, modules and stand-ins
// together) must not allocate at all. The stand-ins' call logs are off
// (a session switches them off; the recorder's is switched off here).
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sstream>

#include "host/module_loader.h"
#include "platform/soarrec/soarrec_host.h"
#include "session/buttons.h"
#include "session/panel_flight.h"
#include "tests/host/allocation_counter.h"

namespace {

// Climbs in the field's thermal, then rounds of task C's three points with a
// climb at each of the two outer ones, until the end.
std::string long_scenario() {
  std::ostringstream s;
  s << "position 50:49:23N 006:11:11E\nelevation 190\nheading 250\nwind 270 12\nunits 2\n"
       "end 3:00:00\n"
       "thermal field 50:49.50N 006:12.10E 5.0 2000\n"
       "thermal weisweiler 50:50.35N 006:19.45E 4.8 1900\n"
       "thermal aldenhoven 50:53.95N 006:16.70E 4.5 1700\n"
       "at 0:01 click gpsnav ON\nat 0:01 click lnav KNOB_UP 5\nat 0:05 click lnav HOME\n"
       "at 0:06 click ballast P50\nat 0:20 click VETsetup UP 5\nat 0:22 click VETlamp TOGGLE\n"
       "at 0:25 click VETswitch START\nthen launch\nthen click gr UP\nthen speed command\n"
       "then circle right until 1480\n";
  for (int round = 0; round < 12; ++round) {
    s << "then goto Weisweiler\nthen circle left until 1400\nthen goto Aldenhoven\n"
         "then circle right until 1400\nthen goto ZL RWY EDKA\nthen circle right until 1400\n";
  }
  return s.str();
}

struct Button {
  std::string gauge, button;
};

std::string where(uintptr_t address) {
  Dl_info info{};
  if (address == 0 || dladdr(reinterpret_cast<void *>(address), &info) == 0) {
    return "";
  }
  std::ostringstream s;
  s << " (first in " << (info.dli_fname ? info.dli_fname : "?") << ", "
    << (info.dli_sname ? info.dli_sname : "?") << ")";
  return s.str();
}

TEST(NoAllocation, ModulesNeverAllocateInAFlightWithEveryButtonAndService) {
  std::string error;
  auto flight = session::PanelFlight::open(GAUGE_SOURCE_DIR "/examples/sailplane", GAUGE_MODULE_DIR,
                                           long_scenario(), "long.scn", error);
  ASSERT_TRUE(flight) << error;
  soarrec::set_call_log(false);
  gaugehost::Host &host = flight->host();
  ASSERT_EQ(host.gauges().size(), 24u);
  std::vector<Button> buttons;
  for (const auto &g : host.gauges()) {
    std::istringstream names(session::button_names(g->gauge_name));
    for (std::string b; names >> b;) {
      if (b != "(none)") {
        buttons.push_back({g->name, b});
      }
    }
  }
  alloc_count::find_modules();

  constexpr int kCyclesPerRound = 10 * 60 * 1000 / 55; // every button every 10 minutes
  alloc_count::Counts walks, rest;
  auto add = [](alloc_count::Counts &to, const alloc_count::Counts &c) {
    to.first_module_caller =
        to.first_module_caller != 0 ? to.first_module_caller : c.first_module_caller;
    to.first_host_caller = to.first_host_caller != 0 ? to.first_host_caller : c.first_host_caller;
    to.all += c.all;
    to.module += c.module;
    to.module_through_libc += c.module_through_libc;
    to.stand_in += c.stand_in;
    to.host += c.host;
  };
  int64_t cycles = 0;
  while (flight->step_source()) {
    alloc_count::count(true);
    ASSERT_TRUE(flight->apply_clicks(error)) << error;
    if (++cycles % kCyclesPerRound == 0) {
      for (const Button &b : buttons) {
        ASSERT_TRUE(flight->session().click_button(b.gauge, b.button, error)) << error;
      }
    }
    add(rest, alloc_count::take());
    host.walk();
    alloc_count::count(false);
    add(walks, alloc_count::take());
  }
  // Services 12, then 2 to 5 of every gauge, and a few cycles after.
  std::vector<std::pair<std::string, std::string>> placed;
  for (const auto &g : host.gauges()) {
    placed.emplace_back(g->module->name, g->gauge_name);
  }
  alloc_count::count(true);
  for (const auto &[module, gauge] : placed) {
    ASSERT_TRUE(host.remove(gauge, error)) << error;
    ASSERT_TRUE(host.place(module, gauge, gauge, error)) << error;
  }
  host.update(100, 55);
  alloc_count::count(false);
  add(rest, alloc_count::take());

  EXPECT_GT(cycles, 3 * 3600 * 1000 / 55 - 10);
  EXPECT_GT(flight->source().state().time_s, 3 * 3600 - 1);
  EXPECT_EQ(walks.module + rest.module, 0u)
      << "module code allocated" << where(walks.first_module_caller | rest.first_module_caller);
  EXPECT_EQ(walks.host, 0u) << "the host's update walk allocated" << where(walks.first_host_caller);
  EXPECT_EQ(walks.module_through_libc, 0u) << "a module's call into the C library allocated";
  std::cout << "allocations in update walks: stand-ins " << walks.stand_in
            << "; in clicks and services: stand-ins " << rest.stand_in << ", host " << rest.host
            << ", C library for modules (stdio of the file loaders) " << rest.module_through_libc
            << "\n";
}

} // namespace
