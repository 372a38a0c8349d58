#include "shell/screenshot.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "util/bmp_writer.h"

namespace orivane {
namespace {

bool EndsWithNoCase(const std::string& s, const char* suffix) {
  size_t n = std::strlen(suffix);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = s[s.size() - n + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

bool WritePng(const DisplaySurface& d, const std::string& path, std::string& error) {
  std::string temp = path + ".tmp";
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(d.width);
  image.height = static_cast<png_uint_32>(d.height);
  image.format = PNG_FORMAT_BGR;
  // A negative stride tells libpng that the rows are stored bottom-up.
  if (!png_image_write_to_file(&image, temp.c_str(), 0, d.pixels.data(), -d.stride, nullptr)) {
    error = image.message;
    std::remove(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = std::strerror(errno);
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

ScreenshotFormat ScreenshotFormatOf(const std::string& path) {
  if (EndsWithNoCase(path, ".png")) return ScreenshotFormat::kPng;
  if (EndsWithNoCase(path, ".bmp")) return ScreenshotFormat::kBmp;
  return ScreenshotFormat::kNone;
}

bool WriteScreenshot(const DisplaySurface& display, const std::string& path, std::string& error) {
  if (display.width <= 0 || display.height <= 0) {
    error = "there is no picture yet";
    return false;
  }
  switch (ScreenshotFormatOf(path)) {
    case ScreenshotFormat::kPng:
      return WritePng(display, path, error);
    case ScreenshotFormat::kBmp:
      if (WriteBmpFile(path, BmpImage{display.width, display.height, 24, display.pixels.data(), display.stride}))
        return true;
      error = std::strerror(errno);
      return false;
    case ScreenshotFormat::kNone:
      break;
  }
  error = "the file name must end in .png or .bmp";
  return false;
}

}  // namespace orivane
