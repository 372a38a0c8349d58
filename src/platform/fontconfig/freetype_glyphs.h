// Glyph rasterizing on FreeType: opens the face files that FaceLookup names
// and draws one glyph into its cell as FontService::RasterizeGlyph promises.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/font_service.h"
#include "platform/fontconfig/face_lookup.h"

struct FT_LibraryRec_;

namespace orivane {

class FreetypeGlyphs {
 public:
  struct Face;  // an open face with its metrics and vertical forms

  FreetypeGlyphs();
  ~FreetypeGlyphs();
  FreetypeGlyphs(const FreetypeGlyphs&) = delete;
  FreetypeGlyphs& operator=(const FreetypeGlyphs&) = delete;

  // The open face of a file; nullptr when FreeType cannot read it. Faces stay
  // open for the life of the object: they are files installed on the
  // machine, a set a script cannot grow.
  Face* Open(const FaceFile& file);

  // The glyph index of a character in the face; 0 when the face lacks it.
  unsigned GlyphIndex(Face& face, char32_t code_point);

  // The glyph in its cell. Glyph 0 draws a blank cell of the size a missing
  // character takes in the face.
  GlyphBitmap Render(Face& face, unsigned glyph, const GlyphRequest& request, bool embolden);

 private:
  FT_LibraryRec_* library_ = nullptr;
  std::map<std::pair<std::string, int>, std::unique_ptr<Face>> faces_;
};

}  // namespace orivane
