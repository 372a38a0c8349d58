// SPB streams from hostile bytes: the decoder stays inside the picture, and a
// picture it decoded whole comes back the same through the tool's encoder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "archive/spb.h"
#include "archive/spb_encoder.h"

using namespace orivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DisplaySurface pic;
  if (DecodeSpb(data, size, pic) != SpbResult::kOk || !SpbFits(pic)) return 0;
  if (static_cast<size_t>(pic.width) * pic.height > 1 << 16) return 0;  // keep runs fast
  auto again = EncodeSpb(pic);
  DisplaySurface back;
  if (DecodeSpb(again.data(), again.size(), back) != SpbResult::kOk) std::abort();
  for (int y = 0; y < pic.height; ++y)
    if (!std::equal(pic.RowFromTop(y), pic.RowFromTop(y) + pic.width * 3, back.RowFromTop(y))) std::abort();
  return 0;
}
