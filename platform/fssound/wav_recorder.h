// Writes the mix to a 44.1 kHz 16-bit stereo WAV file as it is made. The
// header's two sizes are written as 0 at the start and patched on close
// (the sound library also closes it at process exit). A failed write or
// close ends the recording and is kept as an error for the host to report.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <utility>

namespace fssound {

class WavRecorder {
public:
  WavRecorder() = default;
  WavRecorder(const WavRecorder &) = delete;
  WavRecorder &operator=(const WavRecorder &) = delete;
  ~WavRecorder() { close(); }

  // Creates or truncates `path` and writes the header through to the file,
  // so that a full disk shows here. A file already open is closed first.
  // Returns false with `error` naming the file on failure.
  bool open(const std::string &path, std::string *error);
  bool is_open() const { return file_ != nullptr; }
  // Appends interleaved stereo samples. A write error ends the recording
  // (see take_error); the 4 GiB limit of the format ends it with a message on
  // standard error.
  void write(std::span<const int16_t> samples);
  // Patches the header and closes; nothing if not open.
  void close();
  // The failure that ended the last recording, naming the file; empty if
  // none since the last take.
  std::string take_error() { return std::exchange(error_, {}); }

private:
  struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::string path_;
  uint64_t data_bytes_ = 0;
  std::string error_;
};

} // namespace fssound
