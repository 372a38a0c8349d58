#include "util/sjis.h"

#include <iconv.h>

#include <cerrno>

namespace orivane {
namespace {

// One iconv conversion with a replacement for bytes the source code page does
// not accept. The descriptor is opened per call: conversions happen at the
// edges (messages, output lines), never in a hot loop.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    size_t bad_input_step) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // No converter on this system: pass ASCII through and replace the rest.
    for (unsigned char c : in) {
      if (c < 0x80) out.push_back(static_cast<char>(c));
      else out.append(replacement);
    }
    return out;
  }
  out.reserve(in.size() * 3 / 2 + 8);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char buf[1024];
  while (src_left > 0) {
    char* dst = buf;
    size_t dst_left = sizeof buf;
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence at the end): replace and step on.
      out.append(replacement);
      size_t step = bad_input_step;
      if (errno == EILSEQ && bad_input_step == 0) {
        // UTF-8 input: skip the whole malformed or unconvertible sequence.
        unsigned char c = static_cast<unsigned char>(*src);
        step = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      }
      if (step == 0) step = 1;
      if (step > src_left) step = src_left;
      src += step;
      src_left -= step;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  char* dst = buf;
  size_t dst_left = sizeof buf;
  iconv(cd, nullptr, nullptr, &dst, &dst_left);
  out.append(buf, static_cast<size_t>(dst - buf));
  iconv_close(cd);
  return out;
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) {
  // A bad lead byte may swallow the next one; stepping one byte keeps every
  // following ASCII character intact.
  return Convert("UTF-8", "CP932", sjis, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToSjis(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, "?", 0); }

std::string_view CutAtCharacter(std::string_view sjis, size_t limit) {
  if (sjis.size() <= limit) return sjis;
  size_t end = 0;
  while (end < sjis.size()) {
    const size_t step = IsSjisLead(static_cast<uint8_t>(sjis[end])) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  return sjis.substr(0, end);
}

char32_t SjisCodePoint(std::string_view one_character) {
  const std::string utf8 = SjisToUtf8(one_character);
  if (utf8.empty()) return 0;
  const auto b = [&](size_t i) { return i < utf8.size() ? static_cast<uint8_t>(utf8[i]) : 0u; };
  const uint8_t lead = b(0);
  char32_t c = 0;
  if (lead < 0x80)
    c = lead;
  else if ((lead & 0xE0) == 0xC0)
    c = (lead & 0x1Fu) << 6 | (b(1) & 0x3Fu);
  else if ((lead & 0xF0) == 0xE0)
    c = (lead & 0x0Fu) << 12 | (b(1) & 0x3Fu) << 6 | (b(2) & 0x3Fu);
  else if ((lead & 0xF8) == 0xF0)
    c = (lead & 0x07u) << 18 | (b(1) & 0x3Fu) << 12 | (b(2) & 0x3Fu) << 6 | (b(3) & 0x3Fu);
  return c == 0xFFFD ? 0 : c;  // the converter marks bytes that are no character so
}

}  // namespace orivane
