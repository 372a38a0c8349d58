#include "support/movie_files.h"

#include <cmath>
#include <vector>

namespace orivane::test {
namespace {

constexpr int kRate = 44100;

void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}
std::string Chunk(const std::string& id, const std::string& body) {
  std::string c = id;
  Put32(c, static_cast<uint32_t>(body.size()));
  c += body;
  if (body.size() % 2) c += '\0';
  return c;
}
std::string List(const std::string& type, const std::string& body) {
  return Chunk("LIST", type + body);
}

std::string StreamHeader(const std::string& type, const std::string& handler, uint32_t scale,
                         uint32_t rate, uint32_t length, uint32_t sample_size, int w, int h) {
  std::string s = type + handler;
  Put32(s, 0);  // flags
  Put32(s, 0);  // priority, language
  Put32(s, 0);  // initial frames
  Put32(s, scale);
  Put32(s, rate);
  Put32(s, 0);  // start
  Put32(s, length);
  Put32(s, 0);           // suggested buffer size
  Put32(s, 0xFFFFFFFF);  // quality
  Put32(s, sample_size);
  Put16(s, 0);
  Put16(s, 0);
  Put16(s, static_cast<uint32_t>(w));
  Put16(s, static_cast<uint32_t>(h));
  return Chunk("strh", s);
}

}  // namespace

std::string MakeAvi(const AviSpec& spec) {
  const int stride = (spec.width * 3 + 3) & ~3;
  const uint32_t frame_bytes = static_cast<uint32_t>(stride * spec.height);
  const int samples_per_frame = kRate / spec.fps;
  const bool sound = spec.tone_hz > 0;

  std::string avih;
  Put32(avih, static_cast<uint32_t>(1000000 / spec.fps));
  Put32(avih, frame_bytes * static_cast<uint32_t>(spec.fps));
  Put32(avih, 0);
  Put32(avih, 0x10);  // has an index
  Put32(avih, static_cast<uint32_t>(spec.frames));
  Put32(avih, 0);
  Put32(avih, sound ? 2 : 1);
  Put32(avih, frame_bytes);
  Put32(avih, static_cast<uint32_t>(spec.width));
  Put32(avih, static_cast<uint32_t>(spec.height));
  for (int i = 0; i < 4; ++i) Put32(avih, 0);

  std::string bih;
  Put32(bih, 40);
  Put32(bih, static_cast<uint32_t>(spec.width));
  Put32(bih, static_cast<uint32_t>(spec.height));  // bottom-up
  Put16(bih, 1);
  Put16(bih, 24);
  Put32(bih, 0);  // BI_RGB
  Put32(bih, frame_bytes);
  for (int i = 0; i < 4; ++i) Put32(bih, 0);
  std::string hdrl =
      Chunk("avih", avih) +
      List("strl", StreamHeader("vids", "DIB ", 1, static_cast<uint32_t>(spec.fps),
                                static_cast<uint32_t>(spec.frames), 0, spec.width, spec.height) +
                       Chunk("strf", bih));
  if (sound) {
    std::string wfx;
    Put16(wfx, 1);  // PCM
    Put16(wfx, 2);
    Put32(wfx, kRate);
    Put32(wfx, kRate * 4);
    Put16(wfx, 4);
    Put16(wfx, 16);
    hdrl +=
        List("strl", StreamHeader("auds", std::string(4, '\0'), 4, kRate * 4,
                                  static_cast<uint32_t>(samples_per_frame * spec.frames), 4, 0, 0) +
                         Chunk("strf", wfx));
  }

  std::string movi;
  std::string index;
  auto add = [&](const std::string& id, const std::string& body) {
    Put32(index, 0);  // placeholder for the id, written below
    index.replace(index.size() - 4, 4, id);
    Put32(index, 0x10);
    Put32(index, static_cast<uint32_t>(4 + movi.size()));
    Put32(index, static_cast<uint32_t>(body.size()));
    movi += Chunk(id, body);
  };
  for (int f = 0; f < spec.frames; ++f) {
    std::string pixels(frame_bytes, '\0');
    for (int y = 0; y < spec.height; ++y) {
      const size_t row = static_cast<size_t>(spec.height - 1 - y) * static_cast<size_t>(stride);
      for (int x = 0; x < spec.width; ++x) {
        const uint32_t rgb = spec.pixel ? spec.pixel(f, x, y) : SolidFrameColour(f);
        pixels[row + x * 3] = static_cast<char>(rgb & 0xFF);
        pixels[row + x * 3 + 1] = static_cast<char>((rgb >> 8) & 0xFF);
        pixels[row + x * 3 + 2] = static_cast<char>((rgb >> 16) & 0xFF);
      }
    }
    add("00db", pixels);
    if (sound) {
      std::string pcm;
      for (int i = 0; i < samples_per_frame; ++i) {
        const double t = static_cast<double>(f * samples_per_frame + i) / kRate;
        const auto v =
            static_cast<int16_t>(std::lround(8000 * std::sin(2 * M_PI * spec.tone_hz * t)));
        Put16(pcm, static_cast<uint16_t>(v));
        Put16(pcm, static_cast<uint16_t>(v));
      }
      add("01wb", pcm);
    }
  }
  const std::string body = "AVI " + List("hdrl", hdrl) + List("movi", movi) + Chunk("idx1", index);
  return Chunk("RIFF", body);
}

bool SetAviSoundShape(std::string& avi, uint32_t rate, uint16_t channels) {
  // The stream headers lie in order inside 'hdrl', each 'strh' followed by
  // its 'strf'; the sound stream's 'strh' body begins with "auds".
  size_t header = avi.find("auds");
  while (header != std::string::npos && (header < 8 || avi.compare(header - 8, 4, "strh") != 0))
    header = avi.find("auds", header + 1);
  if (header == std::string::npos) return false;
  const size_t format = avi.find("strf", header);
  constexpr size_t kFieldsEnd = 8 + 8;  // chunk header, then tag, channels, rate
  if (format == std::string::npos || format + kFieldsEnd > avi.size()) return false;
  std::string fields;
  Put16(fields, channels);
  Put32(fields, rate);
  avi.replace(format + 8 + 2, fields.size(), fields);
  return true;
}

}  // namespace orivane::test
