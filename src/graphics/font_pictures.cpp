#include "graphics/font_pictures.h"

#include <algorithm>
#include <string>

#include "engine.h"
#include "graphics/image_surface.h"
#include "graphics/surface_bmp_write.h"
#include "graphics/text_stamp.h"
#include "platform/font_service.h"
#include "platform/platform.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "util/game_path.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr char kFontTestFile[] = "testfont.bmp";

// Paints the ink of `grid` over `picture` (both from the top-left corner) in
// one colour: d·(255 − c) + colour·c per channel.
void PaintInk(const MulTable& mul, const CoverageGrid& grid, uint32_t rgb, ImageSurface& picture) {
  const uint8_t colour[3] = {static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                             static_cast<uint8_t>(rgb >> 16)};
  const int w = std::min(grid.width, picture.width), h = std::min(grid.height, picture.height);
  for (int y = 0; y < h; ++y) {
    uint8_t* d = picture.RowFromTop(y);
    for (int x = 0; x < w; ++x, d += 3) {
      const int c = grid.At(x, y);
      if (c == 0) continue;
      for (int k = 0; k < 3; ++k)
        d[k] = static_cast<uint8_t>(std::min(255, mul(d[k], 255 - c) + mul(colour[k], c)));
    }
  }
}

void CmdCreatedummy(Engine& engine) {
  const std::string name = ReadString(engine);
  if (!IsInsideGameDirectory(name))
    ReportError(engine, "%sのファイル名%sはゲームのフォルダの外を指しています。", "エラー",
                {"createdummy", name});
  SaveSurfaceBmp(HostPath(name), MakeDummyPicture(engine, name));
}

void CmdFont2bmp(Engine& engine) {
  const std::string face = SjisToUtf8(ReadString(engine));
  ExpectComma(engine);
  const int32_t width = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t height = ReadNumber(engine);
  // Sizes the font service refuses give no picture; the row is 57 cells wide.
  if (width <= 0 || height <= 0 || width > kMaxGlyphRequestSide || height > kMaxGlyphRequestSide)
    return;
  const int picture_width = static_cast<int>(kFontTestRow.size()) * width;
  CoverageGrid ink(picture_width, height);
  StampText(engine.platform.Fonts(), StampFont{face, width, height, 400}, kFontTestRow, ink, 0, 0);
  ImageSurface picture;
  if (!picture.CreateBlank(picture_width, height, 24)) return;
  PaintInk(engine.graphics.mul, ink, 0xFFFFFF, picture);
  SaveSurfaceBmp(HostPath(kFontTestFile), picture);
}

}  // namespace

ImageSurface MakeDummyPicture(Engine& engine, std::string_view sjis_name) {
  const StampFont font{kGothicFaceUtf8, kDummyCharWidth, kDummyCharHeight, 400};
  FontService& fonts = engine.platform.Fonts();
  const int64_t text_width = MeasureText(fonts, font, sjis_name);
  const int width = static_cast<int>(
      std::clamp<int64_t>(text_width + 2 * kDummyMargin, kDummyMinWidth, kMaxPictureSide));
  ImageSurface picture;
  picture.CreateBlank(width, kDummyHeight, 24);
  picture.Fill(PixelRect{0, 0, width - 1, kDummyHeight - 1}, kDummyInk);
  picture.Fill(PixelRect{1, 1, width - 2, kDummyHeight - 2}, kDummyBackground);
  CoverageGrid ink(width, kDummyHeight);
  StampText(fonts, font, sjis_name, ink, kDummyMargin, kDummyMargin);
  PaintInk(engine.graphics.mul, ink, kDummyInk, picture);
  return picture;
}

void RegisterFontPictureCommands(CommandTable& table) {
  table.Register("createdummy", CmdCreatedummy);
  table.Register("font2bmp", CmdFont2bmp);
}

}  // namespace orivane
