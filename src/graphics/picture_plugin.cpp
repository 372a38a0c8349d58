#include "graphics/picture_plugin.h"

#include <cstdlib>
#include <cstring>

#include "engine.h"
#include "graphics/bmp_read.h"

namespace orivane {
namespace {

using GetPictureFn = int (*)(const char* buf, long len, unsigned int flag, void** info, void** bits,
                             void* progress, long data);

uint32_t Get32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

std::string FindPicturePlugin(const Engine& engine, const std::string& extension) {
  for (const std::string& entry : engine.graphics.picture_plugins) {
    const size_t bar = entry.find('|');
    if (bar != std::string::npos && entry.compare(bar + 1, std::string::npos, extension) == 0)
      return entry.substr(0, bar);
  }
  return {};
}

bool LoadWithPicturePlugin(Engine& engine, const std::string& module, const std::string& file,
                           ImageSurface& out) {
  out.Release();
  auto fn = reinterpret_cast<GetPictureFn>(engine.plugin_modules.Find(module, "GetPicture"));
  if (!fn) return false;
  void* info = nullptr;
  void* bits = nullptr;
  const int result = fn(file.c_str(), 0, 0, &info, &bits, nullptr, 0);
  bool ok = false;
  if (result == 0 && info && bits) {
    const uint8_t* header = static_cast<const uint8_t*>(info);
    const int32_t width = static_cast<int32_t>(Get32(header + 4));
    const int32_t height = static_cast<int32_t>(Get32(header + 8));
    const int32_t bit_count = header[14] | (header[15] << 8);
    const uint32_t used = Get32(header + 32);
    if (out.CreateBlank(width, height, bit_count) &&
        (bit_count == 1 || bit_count == 4 || bit_count == 8 || bit_count == 16 || bit_count == 24 ||
         bit_count == 32)) {
      // The plug-in's blocks carry no size: trust the header as the contract
      // says, but copy no more colours than the table of the bit count holds.
      const uint32_t entries = used != 0 ? used : static_cast<uint32_t>(out.color_count);
      const size_t colours = std::min<size_t>(entries, static_cast<size_t>(out.color_count));
      if (colours > 0) std::memcpy(out.palette.data(), header + 40, colours * 4);
      out.colors_used = static_cast<int32_t>(std::min<uint32_t>(used, 0x7FFFFFFF));
      std::memcpy(out.pixels.data(), bits, out.pixels.size());
      ok = true;
    } else {
      out.Release();
    }
  }
  std::free(info);
  std::free(bits);
  return ok;
}

}  // namespace orivane
