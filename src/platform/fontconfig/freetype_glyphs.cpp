#include "platform/fontconfig/freetype_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/opentype_vertical.h"

namespace orivane {

struct FreetypeGlyphs::Face {
  FT_Face ft = nullptr;
  long em = 1;                        // font units per em
  long cell_units = 1;                // ascent + descent: what a Windows font height measures
  long ascent_units = 1;              // top of the cell to the baseline
  FT_F26Dot6 size_x = 0, size_y = 0;  // the size last set, to skip setting it again
  bool vertical_loaded = false;
  GlyphSubstitutions vertical_forms;

  ~Face() {
    if (ft) FT_Done_Face(ft);
  }
};

namespace {

// The face's cell as Windows measures a font height: the OS/2 table's
// Windows ascent and descent, else the horizontal header's.
void ReadCellMetrics(FreetypeGlyphs::Face& face) {
  FT_Face ft = face.ft;
  face.em = ft->units_per_EM > 0 ? ft->units_per_EM : 1;
  long ascent = ft->ascender, descent = -ft->descender;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
      os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent = os2->usWinAscent;
    descent = os2->usWinDescent;
  }
  if (ascent + descent <= 0) {
    ascent = face.em;
    descent = 0;
  }
  face.cell_units = ascent + descent;
  face.ascent_units = ascent;
}

const GlyphSubstitutions& VerticalForms(FreetypeGlyphs::Face& face) {
  if (!face.vertical_loaded) {
    face.vertical_loaded = true;
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face.ft, TTAG_GSUB, 0, nullptr, &length) == 0 && length > 0 &&
        length <= (16u << 20)) {
      std::vector<uint8_t> table(length);
      if (FT_Load_Sfnt_Table(face.ft, TTAG_GSUB, 0, table.data(), &length) == 0)
        face.vertical_forms = ParseVerticalSubstitutions(table);
    }
  }
  return face.vertical_forms;
}

// Copies a rendered FreeType bitmap into the blank cell with its top-left
// corner at (left, top) of the cell, cutting off what falls outside.
void PlaceBitmap(const FT_Bitmap& bitmap, int left, int top, GlyphBitmap& cell) {
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
  const int rows = static_cast<int>(bitmap.rows);
  const int columns = static_cast<int>(bitmap.width);
  const long pitch = bitmap.pitch < 0 ? -static_cast<long>(bitmap.pitch) : bitmap.pitch;
  // A glyph placed absurdly far away (a broken font) draws nothing.
  if (left < -(1 << 20) || left > (1 << 20) || top < -(1 << 20) || top > (1 << 20)) return;
  const int first = std::max(0, -left), end = std::min(columns, cell.width - left);
  for (int r = 0; r < rows; ++r) {
    const int y = top + r;
    if (y < 0 || y >= cell.height) continue;
    // A negative pitch stores the rows bottom-up.
    const unsigned char* row = bitmap.buffer + (bitmap.pitch < 0 ? rows - 1 - r : r) * pitch;
    uint8_t* out = cell.coverage.data() + static_cast<size_t>(y) * cell.width;
    if (mono) {
      for (int c = first; c < end; ++c)
        out[left + c] = (row[c >> 3] >> (7 - (c & 7))) & 1 ? 255 : 0;
    } else if (first < end) {
      std::copy(row + first, row + end, out + left + first);
    }
  }
}

// The cell turned a quarter clockwise: the top row becomes the right column.
GlyphBitmap TurnClockwise(const GlyphBitmap& in) {
  GlyphBitmap out;
  out.width = in.height;
  out.height = in.width;
  out.advance = in.advance;
  out.coverage.assign(in.coverage.size(), 0);
  for (int y = 0; y < in.height; ++y)
    for (int x = 0; x < in.width; ++x)
      out.coverage[static_cast<size_t>(x) * out.width + (in.height - 1 - y)] =
          in.coverage[static_cast<size_t>(y) * in.width + x];
  return out;
}

struct FlatRequest {
  FT_F26Dot6 em_width = 0;  // pixels across the em square, horizontally
  int cell_width = -1;      // -1: the glyph's own advance
  int cell_height = 0;
  bool embolden = false;
  bool monochrome = false;
};

// A glyph drawn upright in horizontal layout: the em square `em_width`
// pixels wide, the face's ascent plus descent filling the cell height.
GlyphBitmap RenderFlat(FreetypeGlyphs::Face& face, unsigned glyph, const FlatRequest& r) {
  GlyphBitmap cell;
  FT_Face ft = face.ft;
  const FT_F26Dot6 size_x = std::max<FT_F26Dot6>(r.em_width, 64);
  const FT_F26Dot6 size_y = std::max<FT_F26Dot6>(
      static_cast<int64_t>(r.cell_height) * 64 * face.em / face.cell_units, 64);
  if (size_x != face.size_x || size_y != face.size_y) {
    if (FT_Set_Char_Size(ft, size_x, size_y, 72, 72) != 0) return cell;
    face.size_x = size_x;
    face.size_y = size_y;
  }
  const FT_Int32 flags =
      FT_LOAD_NO_BITMAP | (r.monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_NO_HINTING);
  if (FT_Load_Glyph(ft, glyph, flags) != 0) return cell;
  FT_GlyphSlot slot = ft->glyph;
  const long advance = (slot->advance.x + 32) >> 6;
  cell.advance = static_cast<int>(std::clamp<long>(advance, 0, 2 * kMaxGlyphRequestSide));
  cell.width = r.cell_width >= 0 ? r.cell_width : cell.advance;
  cell.height = r.cell_height;
  cell.coverage.assign(static_cast<size_t>(cell.width) * static_cast<size_t>(cell.height), 0);
  if (glyph == 0 || slot->format != FT_GLYPH_FORMAT_OUTLINE) return cell;

  if (r.embolden) {
    // Synthetic bold as FreeType makes it (a 24th of the em), but only
    // across, as Windows widens the strokes of a face without a bold; the
    // outline keeps its left edge and grows to the right.
    FT_Outline_EmboldenXY(&slot->outline, size_x / 24, 0);
  }
  if (FT_Render_Glyph(slot, r.monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
    return cell;
  const int baseline = static_cast<int>(
      (static_cast<int64_t>(face.ascent_units) * r.cell_height + face.cell_units / 2) /
      face.cell_units);
  PlaceBitmap(slot->bitmap, slot->bitmap_left, baseline - slot->bitmap_top, cell);
  return cell;
}

}  // namespace

FreetypeGlyphs::FreetypeGlyphs() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

FreetypeGlyphs::~FreetypeGlyphs() {
  faces_.clear();  // the faces go before the library that made them
  if (library_) FT_Done_FreeType(library_);
}

FreetypeGlyphs::Face* FreetypeGlyphs::Open(const FaceFile& file) {
  auto key = std::make_pair(file.path, file.index);
  if (auto it = faces_.find(key); it != faces_.end()) return it->second.get();
  std::unique_ptr<Face> face;
  FT_Face ft = nullptr;
  if (library_ && FT_New_Face(library_, file.path.c_str(), file.index, &ft) == 0) {
    face = std::make_unique<Face>();
    face->ft = ft;
    ReadCellMetrics(*face);
    if (!FT_IS_SCALABLE(ft)) face.reset();  // only outline faces can be sized freely
  }
  Face* open = face.get();
  faces_.emplace(std::move(key), std::move(face));  // a failure is remembered too
  return open;
}

unsigned FreetypeGlyphs::GlyphIndex(Face& face, char32_t code_point) {
  return FT_Get_Char_Index(face.ft, code_point);
}

GlyphBitmap FreetypeGlyphs::Render(Face& face, unsigned glyph, const GlyphRequest& request,
                                   bool embolden) {
  FlatRequest flat;
  flat.embolden = embolden;
  flat.monochrome = request.monochrome;
  if (!request.vertical) {
    flat.em_width = static_cast<FT_F26Dot6>(2 * request.width) * 64;
    flat.cell_height = request.height;
    return RenderFlat(face, glyph, flat);
  }
  // Vertical writing: a full-width character (an advance of at least three
  // quarters of the em) stands upright in its vertical form, its em square
  // filling the column's width; a narrower one lies on its side.
  FT_Fixed advance = 0;
  FT_Get_Advance(face.ft, glyph, FT_LOAD_NO_SCALE, &advance);
  if (glyph != 0 && advance * 4 >= face.em * 3) {
    const GlyphSubstitutions& forms = VerticalForms(face);
    if (auto it = forms.find(static_cast<uint16_t>(glyph)); glyph <= 0xFFFF && it != forms.end())
      glyph = it->second;
    flat.em_width = static_cast<FT_F26Dot6>(request.height) * 64;
    flat.cell_width = request.height;
    flat.cell_height = 2 * request.width;
    GlyphBitmap upright = RenderFlat(face, glyph, flat);
    upright.advance = 2 * request.width;
    return upright;
  }
  flat.em_width = static_cast<FT_F26Dot6>(2 * request.width) * 64;
  flat.cell_height = request.height;
  return TurnClockwise(RenderFlat(face, glyph, flat));
}

}  // namespace orivane
