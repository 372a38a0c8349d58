#include "graphics/jpeg_decode.h"

#include <turbojpeg.h>

namespace orivane {
namespace {

// Owns a TurboJPEG decompressor for the length of one decode.
class Decompressor {
 public:
  Decompressor() : handle_(tjInitDecompress()) {}
  ~Decompressor() {
    if (handle_) tjDestroy(handle_);
  }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  tjhandle get() const { return handle_; }

 private:
  tjhandle handle_;
};

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, ImageSurface& out) {
  out.Release();
  if (size == 0 || size > 0xFFFFFFFFu) return false;
  Decompressor d;
  if (!d.get()) return false;
  int width = 0, height = 0, subsamp = 0, colorspace = 0;
  if (tjDecompressHeader3(d.get(), data, static_cast<unsigned long>(size), &width, &height,
                          &subsamp, &colorspace) != 0)
    return false;
  if (!out.CreateBlank(width, height, 24)) return false;
  // Bottom-up rows straight into the surface, padded to the surface's stride.
  if (tjDecompress2(d.get(), data, static_cast<unsigned long>(size), out.pixels.data(), width,
                    out.stride, height, TJPF_BGR, TJFLAG_BOTTOMUP) != 0) {
    // A picture that decodes with only a warning (a truncated scan) is kept
    // with what was decoded; a real error leaves nothing.
    if (tjGetErrorCode(d.get()) != TJERR_WARNING) {
      out.Release();
      return false;
    }
  }
  return true;
}

}  // namespace orivane
