// Feeds arbitrary bytes as a game script through loading, the label table and
// a run bounded by a short timeout. Any crash, leak or out-of-bounds access is
// a fault; script errors and timeouts are expected outcomes.
//
// Every input runs in an emptied game directory, so nothing one run writes
// reaches the next; the directory is removed when the fuzzer exits. The
// current directory is the game's only while the engine runs, so corpus
// paths given relative to where the fuzzer started keep working. The
// headless platform gets a font service of its own that opens no font file
// and inks a pattern, so story text runs through the whole glyph path.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "engine.h"
#include "platform/font_service.h"
#include "platform/headless/headless_platform.h"
#include "shell/startup.h"

namespace {

class GameDirectory {
 public:
  GameDirectory() {
    std::string templ = (std::filesystem::temp_directory_path() / "orivane-fuzz-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    path_ = templ;
  }
  ~GameDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  GameDirectory(const GameDirectory&) = delete;
  GameDirectory& operator=(const GameDirectory&) = delete;

  const std::string& path() const { return path_; }

  // Removes whatever the last run left.
  void Empty() const {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ec))
      std::filesystem::remove_all(entry.path(), ec);
  }

 private:
  std::string path_;
};

// Makes `dir` the current directory until the end of the scope.
class InDirectory {
 public:
  explicit InDirectory(const std::string& dir)
      : previous_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (previous_ < 0 || chdir(dir.c_str()) != 0) std::abort();
  }
  ~InDirectory() {
    if (fchdir(previous_) != 0) std::abort();
    close(previous_);
  }
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  int previous_;
};

// Glyphs without font files: a full-width cell (half-width for ASCII) with a
// diagonal pattern of ink, so coverage, blending and shadows all run.
class PatternFonts final : public orivane::FontService {
 public:
  std::vector<orivane::FontMenuEntry> ListMenuFonts(int) override { return {}; }
  orivane::GlyphBitmap RasterizeGlyph(const orivane::GlyphRequest& r) override {
    orivane::GlyphBitmap g;
    if (r.width <= 0 || r.height <= 0 || r.width > 1024 || r.height > 1024) return g;
    g.width = g.advance = r.code_point < 0x80 ? r.width : 2 * r.width;
    g.height = r.height;
    g.coverage.resize(static_cast<size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x)
        g.coverage[static_cast<size_t>(y) * g.width + x] = ((x + y + r.code_point) % 3) ? 255 : 0;
    return g;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const GameDirectory game;
  game.Empty();
  InDirectory in_game(game.path());
  FILE* f = std::fopen("0.txt", "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  std::ostringstream out, err;
  static PatternFonts fonts;
  orivane::HeadlessPlatform platform(out, err, false, &fonts);
  orivane::Engine engine(platform);
  engine.timeout_ms = 50;
  orivane::RunEngine(engine);
  return 0;
}
