#include "support/graphics_run.h"

#include <filesystem>
#include <memory>
#include <sstream>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "shell/startup.h"

namespace orivane::test {
namespace {

// The headless platform, reporting every shown frame.
class RecordingPlatform final : public HeadlessPlatform {
 public:
  RecordingPlatform(std::ostream& out, std::ostream& err, FrameObserver observer)
      : HeadlessPlatform(out, err), observer_(std::move(observer)) {}
  void Present(const DisplaySurface& display) override {
    ++presents;
    if (observer_) observer_(display, Ticks());
  }
  int presents = 0;

 private:
  FrameObserver observer_;
};

void Put16(std::string& s, size_t at, uint32_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, size_t at, uint32_t v) {
  Put16(s, at, v & 0xFFFF);
  Put16(s, at + 2, v >> 16);
}

std::string BmpHeader(int width, int height, int bits, uint32_t colours, uint32_t image_bytes) {
  std::string h(54, '\0');
  h[0] = 'B';
  h[1] = 'M';
  Put32(h, 2, 54 + colours * 4 + image_bytes);
  Put32(h, 10, 54 + colours * 4);
  Put32(h, 14, 40);
  Put32(h, 18, static_cast<uint32_t>(width));
  Put32(h, 22, static_cast<uint32_t>(height));
  Put16(h, 26, 1);
  Put16(h, 28, static_cast<uint32_t>(bits));
  Put32(h, 34, image_bytes);
  Put32(h, 46, bits == 8 ? colours : 0);
  return h;
}

}  // namespace

PictureRun RunPictures(const GameDir& game, FrameObserver observer, uint32_t timeout_ms) {
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(game.path());
  std::ostringstream out, err;
  PictureRun result;
  {
    RecordingPlatform platform(out, err, std::move(observer));
    auto engine = std::make_unique<Engine>(platform);
    engine->timeout_ms = timeout_ms;
    result.status = RunEngine(*engine);
    result.display = engine->display;
    result.scene = engine->graphics.scene;
    result.presents = platform.presents;
    result.end_ticks = platform.Ticks();
  }
  std::filesystem::current_path(previous);
  result.out = out.str();
  result.err = err.str();
  return result;
}

uint32_t PixelAt(const DisplaySurface& s, int x, int y) {
  const uint8_t* p = s.RowFromTop(y) + x * 3;
  return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

std::string MakeBmp24(int width, int height, const std::function<uint32_t(int, int)>& pixel) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::string out = BmpHeader(width, height, 24, 0, stride * height);
  std::string rows(stride * height, '\0');
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t rgb = pixel(x, y);
      const size_t at = static_cast<size_t>(height - 1 - y) * stride + x * 3;
      rows[at] = static_cast<char>(rgb & 0xFF);
      rows[at + 1] = static_cast<char>((rgb >> 8) & 0xFF);
      rows[at + 2] = static_cast<char>((rgb >> 16) & 0xFF);
    }
  return out + rows;
}

std::string MakeBmp8(int width, int height, const std::vector<uint32_t>& palette_rgb,
                     const std::function<uint32_t(int, int)>& index) {
  const uint32_t stride = (static_cast<uint32_t>(width) + 3) & ~3u;
  const uint32_t colours = static_cast<uint32_t>(palette_rgb.size());
  std::string out = BmpHeader(width, height, 8, colours, stride * height);
  for (uint32_t rgb : palette_rgb) {
    out.push_back(static_cast<char>(rgb & 0xFF));
    out.push_back(static_cast<char>((rgb >> 8) & 0xFF));
    out.push_back(static_cast<char>((rgb >> 16) & 0xFF));
    out.push_back('\0');
  }
  std::string rows(stride * height, '\0');
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      rows[static_cast<size_t>(height - 1 - y) * stride + x] = static_cast<char>(index(x, y));
  return out + rows;
}

}  // namespace orivane::test
