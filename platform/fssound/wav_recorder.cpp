#include "platform/fssound/wav_recorder.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/fssound/mixer.h"
#include "platform/resources/byte_writer.h"

namespace fssound {
namespace {

using gaugeres::put_tag;
using gaugeres::put_u16;
using gaugeres::put_u32;

constexpr uint32_t kHeaderBytes = 44;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kBlockAlign = kMixChannels * kBitsPerSample / 8;
// Both size fields are 32-bit; the RIFF size counts 36 header bytes too.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kHeaderBytes - 8);

// "RIFF" <36 + data> "WAVE" "fmt " 16 <1 PCM> <2 ch> <44100> <176400> <4> <16>
// "data" <data bytes>
std::vector<uint8_t> header(uint32_t data_bytes) {
  std::vector<uint8_t> out;
  put_tag(out, "RIFF");
  put_u32(out, kHeaderBytes - 8 + data_bytes);
  put_tag(out, "WAVE");
  put_tag(out, "fmt ");
  put_u32(out, 16);
  put_u16(out, 1);
  put_u16(out, kMixChannels);
  put_u32(out, kMixRateHz);
  put_u32(out, kMixRateHz * kBlockAlign);
  put_u16(out, kBlockAlign);
  put_u16(out, kBitsPerSample);
  put_tag(out, "data");
  put_u32(out, data_bytes);
  return out;
}

} // namespace

bool WavRecorder::open(const std::string &path, std::string *error) {
  close();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  const auto head = header(0);
  if (!file || std::fwrite(head.data(), 1, head.size(), file.get()) != head.size() ||
      std::fflush(file.get()) != 0) {
    if (error) {
      *error = "cannot write audio file " + path + ": " + std::strerror(errno);
    }
    return false;
  }
  file_ = std::move(file);
  path_ = path;
  data_bytes_ = 0;
  return true;
}

void WavRecorder::write(std::span<const int16_t> samples) {
  if (!file_) {
    return;
  }
  size_t bytes = samples.size() * sizeof(int16_t);
  if (data_bytes_ + bytes > kMaxDataBytes) {
    bytes = static_cast<size_t>((kMaxDataBytes - data_bytes_) / kBlockAlign * kBlockAlign);
    std::fprintf(stderr, "fssound: %s reached the 4 GiB limit of WAV files; recording ends\n",
                 path_.c_str());
  }
  std::vector<uint8_t> out(bytes);
  for (size_t i = 0; i < bytes / 2; ++i) {
    const auto v = static_cast<uint16_t>(samples[i]);
    out[2 * i] = static_cast<uint8_t>(v);
    out[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  if (std::fwrite(out.data(), 1, out.size(), file_.get()) != out.size()) {
    const std::string cause = std::strerror(errno);
    close();
    error_ = "cannot write audio file " + path_ + ": " + cause;
    return;
  }
  data_bytes_ += bytes;
  if (bytes < samples.size() * sizeof(int16_t)) {
    close();
  }
}

void WavRecorder::close() {
  if (!file_) {
    return;
  }
  const auto head = header(static_cast<uint32_t>(data_bytes_));
  const bool ok = std::fseek(file_.get(), 0, SEEK_SET) == 0 &&
                  std::fwrite(head.data(), 1, head.size(), file_.get()) == head.size();
  const bool closed = std::fclose(file_.release()) == 0;
  if (!ok || !closed) {
    error_ = "cannot finish audio file " + path_ + ": " + std::strerror(errno);
  }
}

} // namespace fssound
