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

}  // namespace orivane
