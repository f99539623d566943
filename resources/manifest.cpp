#include "resources/manifest.h"

#include <charconv>
#include <map>
#include <sstream>

#include "resources/sound_synth.h"

namespace rescomp {
namespace {

// Whole token as an unsigned number: decimal, or hexadecimal after "0x".
std::optional<uint64_t> parse_number(const std::string &token) {
  int base = 10;
  const char *first = token.data();
  const char *last = token.data() + token.size();
  if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) {
    base = 16;
    first += 2;
  }
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(first, last, value, base);
  if (ec != std::errc() || end != last || first == last) {
    return std::nullopt;
  }
  return value;
}

std::string hex_id(uint32_t id) {
  std::ostringstream out;
  out << "0x" << std::uppercase << std::hex << id;
  return out.str();
}

} // namespace

std::optional<std::vector<ManifestEntry>>
parse_manifest(const std::string &text, const std::string &name, std::string *error) {
  std::vector<ManifestEntry> entries;
  // (kind, id) -> line of its first definition
  std::map<std::pair<ManifestKind, uint32_t>, int> seen;
  std::istringstream lines(text);
  std::string line;
  int line_no = 0;
  const auto fail = [&](const std::string &what) {
    if (error) {
      *error = name + ":" + std::to_string(line_no) + ": " + what;
    }
    return std::nullopt;
  };
  while (std::getline(lines, line)) {
    ++line_no;
    if (const auto hash = line.find('#'); hash != std::string::npos) {
      line.erase(hash);
    }
    std::istringstream fields(line);
    std::string kind;
    if (!(fields >> kind)) {
      continue;
    }
    ManifestEntry entry{};
    entry.line = line_no;
    if (kind == "bitmap") {
      entry.kind = ManifestKind::kBitmap;
    } else if (kind == "sound") {
      entry.kind = ManifestKind::kSound;
    } else {
      return fail("unknown resource kind \"" + kind + "\" (expected bitmap or sound)");
    }
    std::string id_text;
    if (!(fields >> id_text)) {
      return fail(kind + " line without an id");
    }
    const auto id = parse_number(id_text);
    if (!id || *id > 0x7FFFFFFF) {
      return fail("bad id \"" + id_text + "\" (decimal or 0x hex, 0 to 0x7FFFFFFF)");
    }
    entry.id = static_cast<uint32_t>(*id);
    if (entry.kind == ManifestKind::kBitmap) {
      std::string width_text;
      std::string height_text;
      if (!(fields >> width_text >> height_text)) {
        return fail("bitmap " + id_text + " needs a width and a height");
      }
      const auto width = parse_number(width_text);
      const auto height = parse_number(height_text);
      if (!width || !height || *width == 0 || *height == 0 || *width > kMaxBitmapSidePx ||
          *height > kMaxBitmapSidePx) {
        return fail("bad bitmap size \"" + width_text + " " + height_text + "\" (1 to " +
                    std::to_string(kMaxBitmapSidePx) + " pixels each)");
      }
      entry.width_px = static_cast<uint32_t>(*width);
      entry.height_px = static_cast<uint32_t>(*height);
    } else {
      if (!(fields >> entry.generator)) {
        return fail("sound " + id_text + " needs a generator name");
      }
      if (find_sound_generator(entry.generator) == nullptr) {
        std::string known;
        for (const auto &generator : sound_generators()) {
          known += known.empty() ? "" : ", ";
          known += generator.name;
        }
        return fail("unknown sound generator \"" + entry.generator + "\" (known: " + known + ")");
      }
    }
    const auto [it, inserted] = seen.emplace(std::pair{entry.kind, entry.id}, line_no);
    if (!inserted) {
      return fail("duplicate " + kind + " id " + hex_id(entry.id) + " (first defined on line " +
                  std::to_string(it->second) + ")");
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

} // namespace rescomp
