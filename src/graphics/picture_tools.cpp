#include "graphics/picture_tools.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine.h"
#include "graphics/background.h"
#include "graphics/bmp_read.h"
#include "graphics/compose.h"
#include "graphics/image_tag.h"
#include "graphics/panorama.h"
#include "graphics/picture_loader.h"
#include "graphics/surface_bmp_write.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "util/file_io.h"
#include "util/game_path.h"

namespace orivane {
namespace {

void RequireInside(Engine& engine, const char* command, const std::string& name) {
  if (!IsInsideGameDirectory(name))
    ReportError(engine, "%sのファイル名%sはゲームのフォルダの外を指しています。", "エラー",
                {command, name});
}

// The picture as 24-bit rows; a picture of another depth is refused.
void RequireTrueColour(Engine& engine, const char* command, const std::string& name,
                       ImageSurface& picture) {
  picture.ConvertTo24();
  if (picture.bit_count != 24)
    ReportError(engine, "%sは%sを24ビットの絵として読めません。", "エラー", {command, name});
}

// Loads a file (not a tag) as a 24-bit picture. False when `noloaderror`
// left it empty; then the tool does nothing.
bool LoadFilePicture(Engine& engine, const char* command, const std::string& file,
                     ImageSurface& picture) {
  RequireInside(engine, command, file);
  picture.Reset();
  LoadPictureFile(engine, picture, file);
  if (!picture.loaded) return false;
  RequireTrueColour(engine, command, file, picture);
  return true;
}

void WritePicture(Engine& engine, const char* command, const std::string& name,
                  const ImageSurface& picture) {
  RequireInside(engine, command, name);
  const std::string path = HostPath(name);
  // The tools' output folders ("out" and below) are made when missing.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  if (!SaveSurfaceBmp(path, picture))
    ReportError(engine, "%sはファイル%sを書き込めません。", "エラー", {command, name});
}

// Copies the w × h block at (x, y) (from the top) of a 24-bit picture.
bool CopyBlock(const ImageSurface& from, int x, int y, int w, int h, ImageSurface& to) {
  to.Reset();
  if (!to.CreateBlank(w, h, 24)) return false;
  for (int row = 0; row < h; ++row)
    std::copy_n(from.RowFromTop(y + row) + x * 3, static_cast<size_t>(w) * 3, to.RowFromTop(row));
  return true;
}

void CmdBmpcut(Engine& engine) {
  const std::string tag = ReadString(engine);
  ExpectComma(engine);
  const int32_t columns = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t rows = ReadNumber(engine);
  ParsedTag parsed;
  if (ParseImageTag(tag, parsed) == TagError::kNone && !parsed.is_layer && !parsed.is_text)
    RequireInside(engine, "bmpcut", parsed.file);
  ImageSurface picture;
  LoadImageTag(engine, picture, tag);
  if (!picture.loaded) return;
  RequireTrueColour(engine, "bmpcut", tag, picture);
  // The pieces come from the first cell's colours (an alpha picture's mask is left out).
  const int32_t cell_width = picture.CellWidth();
  if (columns < 1 || rows < 1 || columns > cell_width || rows > picture.height)
    ReportError(engine, "bmpcutの分割数%d×%dはこの絵には使えません（%d×%d）。", "エラー",
                {columns, rows, cell_width, picture.height});
  const int piece_w = cell_width / columns, piece_h = picture.height / rows;
  ImageSurface piece;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      char suffix[32];
      std::snprintf(suffix, sizeof suffix, "%d%d.bmp", c, r);
      CopyBlock(picture, c * piece_w, r * piece_h, piece_w, piece_h, piece);
      WritePicture(engine, "bmpcut", "_" + tag + suffix, piece);
    }
}

void CmdChainbmp(Engine& engine) {
  const std::string file = ReadString(engine);
  ImageSurface added;
  if (!LoadFilePicture(engine, "chainbmp", file, added)) return;
  const std::string kOut = "out.bmp";
  const std::string out_path = HostPath(kOut);
  if (!IsRegularFile(out_path)) {
    WritePicture(engine, "chainbmp", kOut, added);
    return;
  }
  std::vector<uint8_t> bytes;
  ImageSurface chain;
  if (!ReadFileBytes(out_path, bytes) || !DecodeBmp(bytes.data(), bytes.size(), chain))
    ReportError(engine, "chainbmpは%sを読めません。", "エラー", {kOut});
  RequireTrueColour(engine, "chainbmp", kOut, chain);
  // Both pictures stand on the top edge; what the lower one leaves is black.
  ImageSurface joined;
  if (!joined.CreateBlank(chain.width + added.width, std::max(chain.height, added.height), 24))
    ReportError(engine, "chainbmpの%sが大きくなりすぎます。", "エラー", {kOut});
  for (int y = 0; y < joined.height; ++y) {
    uint8_t* row = joined.RowFromTop(y);
    if (y < chain.height) std::copy_n(chain.RowFromTop(y), chain.width * 3, row);
    if (y < added.height) std::copy_n(added.RowFromTop(y), added.width * 3, row + chain.width * 3);
  }
  WritePicture(engine, "chainbmp", kOut, joined);
}

// The name without a ".bmp" ending (the bw2a family adds its own endings).
std::string Stem(const std::string& name) {
  if (name.size() > 4 && LowerExtension(name) == "bmp") return name.substr(0, name.size() - 4);
  return name;
}

enum class WhiteFrom { kFile, kNothing };

void RunBw2a(Engine& engine, const char* command, const std::string& black_name,
             const std::string& white_name, WhiteFrom white_from, const std::string& out_name) {
  ImageSurface on_black, on_white;
  if (!LoadFilePicture(engine, command, black_name, on_black)) return;
  if (white_from == WhiteFrom::kFile) {
    if (!LoadFilePicture(engine, command, white_name, on_white)) return;
  } else {
    on_white.CreateBlank(on_black.width, on_black.height, 24);
    std::fill(on_white.pixels.begin(), on_white.pixels.end(), uint8_t{255});
  }
  ImageSurface alpha;
  if (!JoinBlackAndWhite(on_black, on_white, alpha))
    ReportError(engine, "%sの黒背景の絵(%d×%d)と白背景の絵(%d×%d)の大きさが合いません。", "エラー",
                {command, on_black.width, on_black.height, on_white.width, on_white.height});
  WritePicture(engine, command, out_name, alpha);
}

void CmdBw2a(Engine& engine) {
  const std::string stem = Stem(ReadString(engine));
  RunBw2a(engine, "bw2a", stem + "_b.bmp", stem + "_w.bmp", WhiteFrom::kFile,
          "out\\" + stem + ".bmp");
}

void CmdBw2a2(Engine& engine) {
  const std::string stem = Stem(ReadString(engine));
  RunBw2a(engine, "bw2a2", stem + "_b.bmp", {}, WhiteFrom::kNothing, "out\\" + stem + ".bmp");
}

void CmdBw2a3(Engine& engine) {
  const std::string file = ReadString(engine);
  RunBw2a(engine, "bw2a3", "b\\" + file, "w\\" + file, WhiteFrom::kFile, "out\\" + file);
}

void CmdGrptest(Engine& engine) {
  const std::string file = ReadString(engine);
  ImageSurface picture;
  if (!LoadFilePicture(engine, "grptest", file, picture)) return;
  const std::string report = ColourReport(file, picture);
  if (!WriteFileAtomically(HostPath("out.txt"), report.data(), report.size()))
    ReportError(engine, "%sはファイル%sを書き込めません。", "エラー", {"grptest", "out.txt"});
}

// Loads the picture as the background, as `bg` would, without showing it:
// the next screen update does.
void CmdConvgif(Engine& engine) {
  const std::string file = ReadString(engine);
  RequireInside(engine, "convgif", file);
  SetBackgroundPicture(engine, file);
  engine.graphics.background_name = file;
  DirtyWholeScreen(engine);
}

void CmdPanoramatest(Engine& engine) {
  RunPanoramaTest(engine);
}

}  // namespace

bool JoinBlackAndWhite(const ImageSurface& on_black, const ImageSurface& on_white,
                       ImageSurface& out) {
  const int w = on_black.width, h = on_black.height;
  if (!on_black.loaded || !on_white.loaded || on_black.bit_count != 24 ||
      on_white.bit_count != 24 || on_white.width != w || on_white.height != h)
    return false;
  out.Reset();
  if (w > kMaxPictureSide / 2 || !out.CreateBlank(2 * w, h, 24)) return false;
  for (int y = 0; y < h; ++y) {
    const uint8_t* b = on_black.RowFromTop(y);
    const uint8_t* wh = on_white.RowFromTop(y);
    uint8_t* colour = out.RowFromTop(y);
    uint8_t* mask = colour + w * 3;
    for (int x = 0; x < w; ++x, b += 3, wh += 3, colour += 3, mask += 3) {
      std::copy_n(b, 3, colour);
      int m = 0;
      if (!std::equal(b, b + 3, wh)) m = ((wh[0] + wh[1] + wh[2]) - (b[0] + b[1] + b[2])) / 3;
      mask[0] = mask[1] = mask[2] = static_cast<uint8_t>(std::clamp(m, 0, 255));
    }
  }
  return true;
}

std::string ColourReport(const std::string& name, const ImageSurface& picture) {
  std::unordered_map<uint32_t, uint64_t> counts;
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* px = picture.RowFromTop(y);
    for (int x = 0; x < picture.width; ++x, px += 3)
      ++counts[uint32_t{px[2]} << 16 | uint32_t{px[1]} << 8 | px[0]];
  }
  std::vector<std::pair<uint32_t, uint64_t>> listed(counts.begin(), counts.end());
  std::sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  if (listed.size() > kListedColours) listed.resize(kListedColours);
  std::string text = name + "\r\n";
  char line[64];
  std::snprintf(line, sizeof line, "width %d\r\nheight %d\r\ncolours %zu\r\n", picture.width,
                picture.height, counts.size());
  text += line;
  for (const auto& [rgb, count] : listed) {
    std::snprintf(line, sizeof line, "#%06x %llu\r\n", rgb, static_cast<unsigned long long>(count));
    text += line;
  }
  return text;
}

void RegisterPictureToolCommands(CommandTable& table) {
  table.Register("bmpcut", CmdBmpcut);
  table.Register("chainbmp", CmdChainbmp);
  table.Register("bw2a", CmdBw2a);
  table.Register("bw2a2", CmdBw2a2);
  table.Register("bw2a3", CmdBw2a3);
  table.Register("grptest", CmdGrptest);
  table.Register("convgif", CmdConvgif);
  table.Register("panoramatest", CmdPanoramatest);
}

}  // namespace orivane
