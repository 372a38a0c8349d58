#include "shell/menu_bar.h"

#include <algorithm>
#include <vector>

#include "engine.h"
#include "platform/platform.h"
#include "text/text_window.h"
#include "util/sjis.h"

namespace orivane {
namespace {

MenuItem Item(std::string label, int32_t command, bool checked = false, bool enabled = true) {
  MenuItem m;
  m.label = std::move(label);
  m.command = command;
  m.checked = checked;
  m.enabled = enabled;
  return m;
}

MenuItem Sub(std::string label, std::vector<MenuItem> children) {
  MenuItem m;
  m.label = std::move(label);
  m.children = std::move(children);
  return m;
}

void InsertFontItems(MenuItem& sub, const ShellState& shell) {
  auto at = std::find_if(sub.children.begin(), sub.children.end(),
                         [](const MenuItem& m) { return m.command == menu_id::kDefaultFont; });
  std::vector<MenuItem> fonts;
  for (int id = 0; id < kFontMenuCapacity; ++id)
    if (!shell.font_table[id].empty()) fonts.push_back(Item(shell.font_table[id], id, shell.checked_font_item == id));
  sub.children.insert(at, fonts.begin(), fonts.end());
}

// Every sub-menu that holds the default-font item gets the font items (the
// bar is built fresh before, so none are there yet).
void InsertFontItemsEverywhere(std::vector<MenuItem>& items, const ShellState& shell) {
  for (MenuItem& m : items) {
    if (!m.IsSubMenu()) continue;
    bool holds_default = std::any_of(m.children.begin(), m.children.end(),
                                     [](const MenuItem& c) { return c.command == menu_id::kDefaultFont; });
    if (holds_default) InsertFontItems(m, shell);
    InsertFontItemsEverywhere(m.children, shell);
  }
}

}  // namespace

Menu BuildStandardMenu(const Engine& engine) {
  const ShellState& sh = engine.shell;
  const PlayerSettings& s = sh.settings;
  using namespace menu_id;
  Menu menu;
  menu.items = {
      Sub("画面", {Item("フルスクリーン", kFullScreen, sh.full_screen), Item("ウィンドウ", kWindow, !sh.full_screen)}),
      Sub("フォント", {Item("デフォルト", kDefaultFont, sh.checked_font_item == kDefaultFont)}),
      Sub("表示形式", {Item("デフォルト", kClickDefault, !s.page_mode), Item("一ページごと", kClickPage, s.page_mode)}),
      Sub("文字速度", {Item("低速", kTextSlow, s.text_speed == 0), Item("普通", kTextNormal, s.text_speed == 1),
                       Item("高速", kTextFast, s.text_speed == 2)}),
      Sub("ボリューム", {Item("オン", kSoundOn, s.sound_on), Item("オフ", kSoundOff, !s.sound_on),
                         Item("ボリューム", kVolume, false)}),
      Item("選択肢まで進む", kSkip),
      Item("オートモード", kAuto),
      Sub("CD-DA", {Item("演奏ドライブ選択", kCdDrive, false),
                    Sub("CD-DA再生", {Item("オン", kCdOn, s.cd_on), Item("オフ", kCdOff, !s.cd_on)})}),
      Item("バージョン情報", kVersion),
      Item("終了", kEnd),
  };
  return menu;
}

void SetMenuChecked(Menu& menu, int32_t command, bool checked) {
  auto walk = [&](auto& self, std::vector<MenuItem>& items) -> void {
    for (MenuItem& m : items) {
      if (m.command == command) m.checked = checked;
      if (m.IsSubMenu()) self(self, m.children);
    }
  };
  walk(walk, menu.items);
}

void FillFontMenu(Engine& engine) {
  ShellState& sh = engine.shell;
  for (std::string& name : sh.font_table) name.clear();
  for (FontMenuEntry& f : engine.platform.Fonts().ListMenuFonts(kFontMenuCapacity)) sh.font_table[f.number] = std::move(f.name);
  InsertFontItemsEverywhere(sh.bar.items, sh);
}

MenuItem BuildFontSubMenu(const ShellState& shell, std::string_view label_utf8) {
  MenuItem sub = Sub(std::string(label_utf8), {Item("デフォルト", menu_id::kDefaultFont, true)});
  InsertFontItems(sub, shell);
  return sub;
}

std::optional<int32_t> MenuWordCommand(std::string_view keyword) {
  using namespace menu_id;
  static constexpr struct {
    std::string_view word;
    int32_t command;
  } kWords[] = {
      {"RESET", kReset},       {"END", kEnd},           {"FULL", kFullScreen},       {"WINDOW", kWindow},
      {"VERSION", kVersion},   {"SKIP", kSkip},         {"AUTO", kAuto},             {"CDDRIVE", kCdDrive},
      {"DWAVEVOLUME", kVolume}, {"WAVEON", kSoundOn},   {"WAVEOFF", kSoundOff},      {"CDON", kCdOn},
      {"CDOFF", kCdOff},       {"TEXTSLOW", kTextSlow}, {"TEXTMIDDLE", kTextNormal}, {"TEXTFAST", kTextFast},
      {"CLICKDEF", kClickDefault}, {"CLICKPAGE", kClickPage}, {"KIDOKUON", kReadSkipOn},
      {"KIDOKUOFF", kReadSkipOff}, {"TEXTSPEED", kTextSpeedDialog}, {"AUTOSPEED", kAutoSpeedDialog},
  };
  std::string upper(keyword);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const auto& w : kWords)
    if (w.word == upper) return w.command;
  return std::nullopt;
}

void ShowMenuBar(Engine& engine) {
  engine.platform.SetMenu(engine.shell.menu_deleted ? nullptr : &engine.shell.bar);
}

void CompleteMenuAtGame(Engine& engine) {
  ShellState& sh = engine.shell;
  using namespace menu_id;
  if (sh.menu_deleted) engine.platform.SetMenu(nullptr);
  sh.current_font = Utf8ToSjis("ＭＳ ゴシック");
  TakeDefaultFontFaceAtGame(engine);
  if (!sh.menu_custom) {
    // The built-in bar offers auto mode only to a game that asked for it
    // (`automode` or `mode_ext` in the *define block).
    if (!engine.read_flags.auto_mode_item) {
      std::erase_if(sh.bar.items, [](const MenuItem& m) { return m.command == kAuto; });
      ShowMenuBar(engine);
    }
    return;
  }
  ShowMenuBar(engine);
  const PlayerSettings& s = sh.settings;
  for (int32_t id : {sh.full_screen ? kFullScreen : kWindow, s.sound_on ? kSoundOn : kSoundOff,
                     engine.read_flags.read_only_skip ? kReadSkipOn : kReadSkipOff, s.cd_on ? kCdOn : kCdOff,
                     s.page_mode ? kClickPage : kClickDefault, kTextSlow + s.text_speed})
    sh.posted_commands.push_back(id);
}

}  // namespace orivane
