#include "platform/sdl/sdl_ui.h"

#include <fontconfig/fontconfig.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <cstring>

namespace orivane {
namespace {

// Pixel size of the UI font: with the frame padding the bar is 20 rows high,
// the rows in which the full-screen bar appears.
constexpr float kFontPixels = 14.0f;

// The file of an installed face with Japanese characters, preferring the
// gothic face that also stands in for the games' default font.
std::string FindJapaneseFontFile() {
  std::string path;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("IPAGothic:lang=ja"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  if (match) {
    FcChar8* file = nullptr;
    FcLangSet* langs = nullptr;
    bool japanese = FcPatternGetLangSet(match, FC_LANG, 0, &langs) == FcResultMatch &&
                    FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
    if (japanese && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
      path = reinterpret_cast<char*>(file);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return path;
}

void DrawItem(const MenuItem& m, std::vector<int32_t>& chosen);

void DrawItems(const std::vector<MenuItem>& items, size_t first, std::vector<int32_t>& chosen) {
  for (size_t i = first; i < items.size(); ++i) {
    ImGui::PushID(static_cast<int>(i));
    DrawItem(items[i], chosen);
    ImGui::PopID();
  }
}

void DrawItem(const MenuItem& m, std::vector<int32_t>& chosen) {
  {
    if (m.IsSubMenu()) {
      if (ImGui::BeginMenu(m.label.c_str(), m.enabled)) {
        DrawItems(m.children, 0, chosen);
        ImGui::EndMenu();
      }
    } else if (ImGui::MenuItem(m.label.c_str(), nullptr, m.checked, m.enabled)) {
      chosen.push_back(m.command);
    }
  }
}

// The bar: as many top-level items as fit the window's width; the rest go
// into a last "»" menu, so that a small game window keeps every item.
void DrawBar(const Menu& bar, std::vector<int32_t>& chosen) {
  const ImGuiStyle& style = ImGui::GetStyle();
  float room = ImGui::GetWindowContentRegionMax().x - ImGui::CalcTextSize("»").x - style.ItemSpacing.x * 2;
  float used = 0;
  size_t fit = 0;
  for (; fit < bar.items.size(); ++fit) {
    used += ImGui::CalcTextSize(bar.items[fit].label.c_str()).x + style.ItemSpacing.x * 2;
    if (used > room && fit + 1 < bar.items.size()) break;
  }
  for (size_t i = 0; i < fit; ++i) {
    ImGui::PushID(static_cast<int>(i));
    DrawItem(bar.items[i], chosen);
    ImGui::PopID();
  }
  if (fit < bar.items.size() && ImGui::BeginMenu("»")) {
    DrawItems(bar.items, fit, chosen);
    ImGui::EndMenu();
  }
}

const char* IconMark(Question::Icon icon) {
  switch (icon) {
    case Question::Icon::kInformation: return "(i)";
    case Question::Icon::kQuestion: return "(?)";
    case Question::Icon::kStop: return "(x)";
    default: return nullptr;
  }
}

void Choose(ModalBox& box, Answer a) {
  box.answered = true;
  box.reply.answer = a;
  if (box.question.buttons == Question::Buttons::kTextInput && a == Answer::kOk) box.reply.text = box.text.data();
  box.reply.values.assign(box.values.begin(), box.values.end());
  box.reply.chosen = box.chosen;
  ImGui::CloseCurrentPopup();
}

// The sliders side by side (vertical ones) or one under another, or the
// list; the player's moves reach `on_slide` at once.
void DrawSettings(ModalBox& box) {
  const Question& q = box.question;
  if (box.values.size() != q.sliders.size()) {
    box.values.clear();
    for (const QuestionSlider& s : q.sliders) box.values.push_back(s.value);
    box.chosen = q.chosen;
  }
  bool moved = false;
  for (size_t i = 0; i < q.sliders.size(); ++i) {
    const QuestionSlider& s = q.sliders[i];
    ImGui::PushID(static_cast<int>(i));
    if (!s.enabled) ImGui::BeginDisabled();
    if (s.vertical) {
      if (i > 0) ImGui::SameLine();
      ImGui::BeginGroup();
      ImGui::TextUnformatted(s.label.c_str());
      // ImGui puts a vertical slider's minimum at the bottom; the dialog has it at the top.
      int shown = s.max - (box.values[i] - s.min);
      if (ImGui::VSliderInt("##v", ImVec2(36.0f, 160.0f), &shown, s.min, s.max, "")) {
        box.values[i] = s.max - (shown - s.min);
        moved = true;
      }
      ImGui::EndGroup();
    } else {
      ImGui::TextUnformatted(s.label.c_str());
      ImGui::TextUnformatted(s.low.c_str());
      ImGui::SameLine();
      ImGui::SetNextItemWidth(220.0f);
      moved |= ImGui::SliderInt("##h", &box.values[i], s.min, s.max, "");
      ImGui::SameLine();
      ImGui::TextUnformatted(s.high.c_str());
    }
    if (!s.enabled) ImGui::EndDisabled();
    ImGui::PopID();
  }
  if (!q.choices.empty() && ImGui::BeginListBox("##list")) {
    for (size_t i = 0; i < q.choices.size(); ++i)
      if (ImGui::Selectable(q.choices[i].c_str(), box.chosen == static_cast<int>(i))) box.chosen = static_cast<int>(i);
    ImGui::EndListBox();
  }
  if (moved && q.on_slide) q.on_slide(std::vector<int32_t>(box.values.begin(), box.values.end()));
}

// OK (or Enter) and キャンセル (or Escape).
void OkCancelButtons(ModalBox& box, bool enter, bool escape) {
  if (ImGui::Button("OK") || enter) {
    Choose(box, Answer::kOk);
  } else {
    ImGui::SameLine();
    if (ImGui::Button("キャンセル") || escape) Choose(box, Answer::kCancel);
  }
}

void DrawBox(ModalBox& box) {
  const char* id = "##orivane-box";
  std::string title = box.question.title + id;
  if (!ImGui::IsPopupOpen(title.c_str())) ImGui::OpenPopup(title.c_str());
  ImGuiIO& io = ImGui::GetIO();
  ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f), ImGuiCond_Always,
                          ImVec2(0.5f, 0.5f));
  if (!ImGui::BeginPopupModal(title.c_str(), nullptr, ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoMove))
    return;
  if (const char* mark = IconMark(box.question.icon)) {
    ImGui::TextUnformatted(mark);
    ImGui::SameLine();
  }
  ImGui::TextUnformatted(box.question.text.c_str());
  bool enter = ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false);
  bool escape = ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false);
  switch (box.question.buttons) {
    case Question::Buttons::kOk:
      if (ImGui::Button("OK") || enter || escape) Choose(box, Answer::kOk);
      break;
    case Question::Buttons::kYesNo:
      if (ImGui::Button("はい(Y)") || enter || ImGui::IsKeyPressed(SDL_SCANCODE_Y, false)) {
        Choose(box, Answer::kYes);
      } else {
        ImGui::SameLine();
        if (ImGui::Button("いいえ(N)") || escape || ImGui::IsKeyPressed(SDL_SCANCODE_N, false)) Choose(box, Answer::kNo);
      }
      break;
    case Question::Buttons::kOkCancel:
      OkCancelButtons(box, enter, escape);
      break;
    case Question::Buttons::kSettings:
      DrawSettings(box);
      OkCancelButtons(box, enter, escape);
      break;
    case Question::Buttons::kTextInput: {
      if (ImGui::IsWindowAppearing()) ImGui::SetKeyboardFocusHere();
      bool confirmed = ImGui::InputText("##text", box.text.data(), box.text.size(), ImGuiInputTextFlags_EnterReturnsTrue);
      if (ImGui::Button("決定") || confirmed) {
        Choose(box, Answer::kOk);
      } else {
        ImGui::SameLine();
        if (ImGui::Button("キャンセル") || escape) Choose(box, Answer::kCancel);
      }
      break;
    }
  }
  ImGui::EndPopup();
}

void DrawDebugPanel(DebugPanel& debug) {
  ImGuiIO& io = ImGui::GetIO();
  const ImVec2 size(std::min(io.DisplaySize.x, 420.0f), std::min(io.DisplaySize.y * 0.4f, 180.0f));
  ImGui::SetNextWindowPos(ImVec2(0.0f, io.DisplaySize.y - size.y), ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowSize(size, ImGuiCond_FirstUseEver);
  if (ImGui::Begin("デバッグウィンドウ", &debug.open)) {
    ImGui::Checkbox("ステップ実行", &debug.step);
    // Read-only: ImGui never writes into the log's buffer.
    ImGui::InputTextMultiline("##log", debug.log.data(), debug.log.size() + 1, ImVec2(-1.0f, -1.0f),
                              ImGuiInputTextFlags_ReadOnly);
  }
  ImGui::End();
}

}  // namespace

SdlUi::~SdlUi() { Shutdown(); }

void SdlUi::Shutdown() {
  if (!ready_) return;
  ready_ = false;
  ImGui_ImplSDLRenderer_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  ImGui::DestroyContext();
}

bool SdlUi::Init(SDL_Window* window, SDL_Renderer* renderer, std::string& error) {
  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // nothing of the UI is written into the game directory
  io.LogFilename = nullptr;
  ImGui::StyleColorsDark();
  std::string font = FindJapaneseFontFile();
  if (font.empty() || !io.Fonts->AddFontFromFileTTF(font.c_str(), kFontPixels, nullptr, io.Fonts->GetGlyphRangesJapanese()))
    io.Fonts->AddFontDefault();
  ImGuiStyle& style = ImGui::GetStyle();
  style.FramePadding.y = 3.0f;
  if (!ImGui_ImplSDL2_InitForSDLRenderer(window) || !ImGui_ImplSDLRenderer_Init(renderer)) {
    error = "Dear ImGui could not be set up on the window";
    ImGui::DestroyContext();
    return false;
  }
  ready_ = true;
  bar_height_ = static_cast<int>(kFontPixels + style.FramePadding.y * 2);
  return true;
}

void SdlUi::ProcessEvent(const SDL_Event& event) { ImGui_ImplSDL2_ProcessEvent(&event); }

void SdlUi::KeepGamePointer(bool keep) {
  if (!ready_) return;
  ImGuiIO& io = ImGui::GetIO();
  if (keep)
    io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
  else
    io.ConfigFlags &= ~ImGuiConfigFlags_NoMouseCursorChange;
}

bool SdlUi::WantsMouse() const {
  return ImGui::GetIO().WantCaptureMouse || ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId);
}

void SdlUi::Frame(const Menu* bar, DebugPanel& debug, ModalBox* box, std::vector<int32_t>& chosen) {
  ImGui_ImplSDLRenderer_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  if (bar && ImGui::BeginMainMenuBar()) {
    DrawBar(*bar, chosen);
    ImGui::EndMainMenuBar();
  }
  if (debug.open) DrawDebugPanel(debug);
  if (box) DrawBox(*box);
  ImGui::Render();
  ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
}

}  // namespace orivane
