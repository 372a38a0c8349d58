// The font service of the machine: fontconfig finds the faces (the font menu,
// and the file behind a face name), FreeType draws their glyphs. Face names
// the machine does not have, "ＭＳ ゴシック" among them, draw with IPAGothic.
#pragma once

#include <memory>

#include "platform/font_service.h"

namespace orivane {

class FontconfigFonts final : public FontService {
 public:
  FontconfigFonts();
  ~FontconfigFonts() override;

  std::vector<FontMenuEntry> ListMenuFonts(int limit) override;
  // Opens fontconfig and FreeType on the first call and keeps the faces it
  // opened until the service is destroyed. Not thread-safe.
  GlyphBitmap RasterizeGlyph(const GlyphRequest& request) override;

 private:
  struct Glyphs;
  std::unique_ptr<Glyphs> glyphs_;
};

}  // namespace orivane
