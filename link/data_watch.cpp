#include "link/data_watch.h"

#include <cstdio>

namespace live {

DataWatch::DataWatch(std::string name, std::string where, std::string hint)
    : name_(std::move(name)), where_(std::move(where)), hint_(std::move(hint)) {
  status_ = name_ + ": waiting for data on " + where_;
}

void DataWatch::on_status(std::function<void(const std::string &)> sink) {
  sink_ = std::move(sink);
  if (sink_) {
    sink_(status_);
  }
}

void DataWatch::set(LinkState state, std::string text) {
  state_ = state;
  status_ = std::move(text);
  if (sink_) {
    sink_(status_);
  }
}

void DataWatch::step(double dt_s, bool data) {
  if (data) {
    if (state_ == LinkState::waiting) {
      set(LinkState::live, name_ + ": data arriving on " + where_);
    } else if (state_ == LinkState::stale) {
      char text[160];
      std::snprintf(text, sizeof text, ": data again after %.1f s; the panel follows it",
                    since_data_s_);
      set(LinkState::live, name_ + text);
    }
    since_data_s_ = 0;
    return;
  }
  since_data_s_ += dt_s;
  if (state_ == LinkState::stale) {
    stale_total_s_ += dt_s;
  } else if (state_ == LinkState::waiting && since_data_s_ >= kStaleAfterS && !hinted_) {
    hinted_ = true;
    set(LinkState::waiting, name_ + ": no data yet on " + where_ + "; the panel waits" +
                                (hint_.empty() ? "" : " (" + hint_ + ")"));
  } else if (state_ == LinkState::live && since_data_s_ >= kStaleAfterS) {
    ++gaps_;
    char text[160];
    std::snprintf(text, sizeof text,
                  ": no data for %.0f s on %s; the panel is frozen on its last values",
                  kStaleAfterS, where_.c_str());
    set(LinkState::stale, name_ + text);
  }
}

} // namespace live
