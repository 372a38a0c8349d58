#include "platform/sdl/sdl_ui.h"

#include <fontconfig/fontconfig.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>
#include <imgui_internal.h>  // the text field's caret and scroll, the log's scroll

#include <algorithm>
#include <cfloat>
#include <cstring>

namespace orivane {
namespace {

// Pixel size of the UI font: with the frame padding the bar is 20 rows high,
// the rows in which the full-screen bar appears.
constexpr float kFontPixels = 14.0f;

// The largest text-field face baked into the font atlas: every Japanese
// glyph is baked, so a larger face would make an atlas too big for some
// renderers; larger fields scale this one up.
constexpr int kLargestFieldFace = 48;

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

// The step box and the read-only log below it, filling the rest of the
// current ImGui window; the log is scrolled to its end when new text came.
void DrawDebugContents(DebugPanel& debug) {
  ImGui::Checkbox("ステップ実行", &debug.step);
  // Read-only: ImGui never writes into the log's buffer.
  ImGui::InputTextMultiline("##log", debug.log.data(), debug.log.size() + 1, ImVec2(-1.0f, -1.0f),
                            ImGuiInputTextFlags_ReadOnly);
  // The field scrolls in a child window of its own, the last one begun.
  ImGuiWindow* window = ImGui::GetCurrentWindow();
  if (debug.log_changed && !window->DC.ChildWindows.empty()) {
    ImGui::SetScrollY(window->DC.ChildWindows.back(), FLT_MAX);
    debug.log_changed = false;
  }
}

void DrawDebugPanel(DebugPanel& debug) {
  ImGuiIO& io = ImGui::GetIO();
  const ImVec2 size(std::min(io.DisplaySize.x, 420.0f), std::min(io.DisplaySize.y * 0.4f, 180.0f));
  ImGui::SetNextWindowPos(ImVec2(0.0f, io.DisplaySize.y - size.y), ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowSize(size, ImGuiCond_FirstUseEver);
  if (ImGui::Begin("デバッグウィンドウ", &debug.open)) DrawDebugContents(debug);
  ImGui::End();
}

// What the text field's callback saw of the edit in progress.
struct FieldEdit {
  TextFieldBox* field = nullptr;
  std::string before_caret;  // the text left of the caret (UTF-8)
  bool active = false;
};

// Called by ImGui in every frame while the field is being edited: puts in
// the text the engine replaced, and notes where the caret stands.
int FieldCallback(ImGuiInputTextCallbackData* data) {
  auto* edit = static_cast<FieldEdit*>(data->UserData);
  if (edit->field->replaced) {
    data->DeleteChars(0, data->BufTextLen);
    data->InsertChars(0, edit->field->text.data());
    data->ClearSelection();
  }
  edit->before_caret.assign(data->Buf, static_cast<size_t>(std::clamp(data->CursorPos, 0, data->BufTextLen)));
  edit->active = true;
  return 0;
}

}  // namespace

bool SdlUi::FieldKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_BACKSPACE: case SDLK_DELETE: case SDLK_LEFT: case SDLK_RIGHT: case SDLK_HOME: case SDLK_END:
    case SDLK_INSERT:
      return true;
    default:
      // Printable keys type into the field (SDL's key codes of them are ASCII).
      return key >= 0x20 && key < 0x7F;
  }
}

void SdlUi::Select() const { ImGui::SetCurrentContext(context_); }

void SdlUi::BuildFonts(int field_pixels) {
  ImGuiIO& io = ImGui::GetIO();
  io.Fonts->Clear();
  auto add = [&](float pixels) {
    ImFont* font = nullptr;
    if (!font_file_.empty())
      font = io.Fonts->AddFontFromFileTTF(font_file_.c_str(), pixels, nullptr, io.Fonts->GetGlyphRangesJapanese());
    if (!font) {
      ImFontConfig config;
      config.SizePixels = pixels;
      font = io.Fonts->AddFontDefault(&config);
    }
    return font;
  };
  add(kFontPixels);  // the first face is the UI's
  field_font_ = field_pixels > 0 ? add(static_cast<float>(field_pixels)) : nullptr;
  field_font_pixels_ = field_pixels;
  // The renderer's copy of the atlas is made again by the next frame.
  if (ready_) ImGui_ImplSDLRenderer_DestroyFontsTexture();
}

void SdlUi::DrawTextField(TextFieldBox& field, bool modal_open) {
  ImGui::SetNextWindowPos(ImVec2(static_cast<float>(field.place.x), static_cast<float>(field.place.y)));
  ImGui::SetNextWindowSize(ImVec2(static_cast<float>(field.place.w), static_cast<float>(field.place.h)));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0.0f, 0.0f));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
  ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0.0f);
  ImGui::PushStyleVar(ImGuiStyleVar_WindowMinSize, ImVec2(1.0f, 1.0f));
  ImGui::PushStyleVar(ImGuiStyleVar_FrameRounding, 0.0f);
  ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 0.0f);
  // Black on white, as an edit control.
  ImGui::PushStyleColor(ImGuiCol_WindowBg, IM_COL32(255, 255, 255, 255));
  ImGui::PushStyleColor(ImGuiCol_FrameBg, IM_COL32(255, 255, 255, 255));
  ImGui::PushStyleColor(ImGuiCol_FrameBgHovered, IM_COL32(255, 255, 255, 255));
  ImGui::PushStyleColor(ImGuiCol_FrameBgActive, IM_COL32(255, 255, 255, 255));
  ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(0, 0, 0, 255));
  ImGui::PushStyleColor(ImGuiCol_TextSelectedBg, IM_COL32(51, 153, 255, 160));
  const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                 ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollWithMouse;
  if (ImGui::Begin("##orivane-text-field", nullptr, flags)) {
    if (field_font_) ImGui::PushFont(field_font_);
    if (field_font_pixels_ > 0) ImGui::SetWindowFontScale(static_cast<float>(field.font_pixels) / field_font_pixels_);
    const float pad_y = std::max(0.0f, (static_cast<float>(field.place.h) - ImGui::GetFontSize()) * 0.5f);
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(2.0f, pad_y));
    const ImGuiID id = ImGui::GetID("##field");
    // The field keeps the keyboard, except while a menu or a box has it.
    if (!modal_open && !ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId) && ImGui::GetActiveID() != id)
      ImGui::SetKeyboardFocusHere();
    FieldEdit edit;
    edit.field = &field;
    ImGui::SetNextItemWidth(-FLT_MIN);
    ImGui::InputText("##field", field.text.data(), field.text.size(), ImGuiInputTextFlags_CallbackAlways,
                     FieldCallback, &edit);
    field.replaced = false;
    if (!edit.active) edit.before_caret = field.text.data();
    const ImVec2 top_left = ImGui::GetItemRectMin();
    float scroll = 0.0f;
    if (ImGuiInputTextState* state = ImGui::GetInputTextState(id)) scroll = state->ScrollX;
    const float caret_x = top_left.x + 2.0f + ImGui::CalcTextSize(edit.before_caret.c_str()).x - scroll;
    field.caret = SDL_Rect{static_cast<int>(caret_x), field.place.y, 1, field.place.h};
    if (!field.composition.empty()) {
      // The input method's text at the caret, underlined, over what follows it.
      const char* text = field.composition.c_str();
      const ImVec2 at(caret_x, top_left.y + pad_y);
      const ImVec2 size = ImGui::CalcTextSize(text);
      ImDrawList* draw = ImGui::GetWindowDrawList();
      draw->AddRectFilled(at, ImVec2(at.x + size.x, at.y + size.y), IM_COL32(255, 255, 255, 255));
      draw->AddText(at, IM_COL32(0, 0, 0, 255), text);
      draw->AddLine(ImVec2(at.x, at.y + size.y - 1.0f), ImVec2(at.x + size.x, at.y + size.y - 1.0f),
                    IM_COL32(0, 0, 0, 255));
    }
    ImGui::PopStyleVar();
    if (field_font_) ImGui::PopFont();
  }
  ImGui::End();
  ImGui::PopStyleColor(6);
  ImGui::PopStyleVar(6);
}

SdlUi::~SdlUi() { Shutdown(); }

void SdlUi::Shutdown() {
  if (!context_) return;
  Select();
  if (ready_) {
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
  }
  ready_ = false;
  ImGui::DestroyContext(context_);
  context_ = nullptr;
}

bool SdlUi::Init(SDL_Window* window, SDL_Renderer* renderer, std::string& error) {
  IMGUI_CHECKVERSION();
  context_ = ImGui::CreateContext();
  Select();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // nothing of the UI is written into the game directory
  io.LogFilename = nullptr;
  ImGui::StyleColorsDark();
  font_file_ = FindJapaneseFontFile();
  BuildFonts(0);
  ImGuiStyle& style = ImGui::GetStyle();
  style.FramePadding.y = 3.0f;
  if (!ImGui_ImplSDL2_InitForSDLRenderer(window)) {
    error = "Dear ImGui could not be set up on the window";
    Shutdown();
    return false;
  }
  if (!ImGui_ImplSDLRenderer_Init(renderer)) {
    error = "Dear ImGui could not be set up on the window";
    ImGui_ImplSDL2_Shutdown();
    Shutdown();
    return false;
  }
  ready_ = true;
  bar_height_ = static_cast<int>(kFontPixels + style.FramePadding.y * 2);
  return true;
}

void SdlUi::ProcessEvent(const SDL_Event& event) {
  if (!ready_) return;
  Select();
  ImGui_ImplSDL2_ProcessEvent(&event);
}

void SdlUi::KeepGamePointer(bool keep) {
  if (!ready_) return;
  Select();
  ImGuiIO& io = ImGui::GetIO();
  if (keep)
    io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
  else
    io.ConfigFlags &= ~ImGuiConfigFlags_NoMouseCursorChange;
}

bool SdlUi::WantsMouse() const {
  if (!ready_) return false;
  Select();
  return ImGui::GetIO().WantCaptureMouse || ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId);
}

void SdlUi::Frame(const Menu* bar, DebugPanel* debug, TextFieldBox* field, ModalBox* box,
                  std::vector<int32_t>& chosen) {
  if (!ready_) return;
  Select();
  if (field) {
    int baked = std::clamp(field->font_pixels, 6, kLargestFieldFace);
    if (baked != field_font_pixels_) BuildFonts(baked);
  }
  ImGui_ImplSDLRenderer_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  if (bar && ImGui::BeginMainMenuBar()) {
    DrawBar(*bar, chosen);
    ImGui::EndMainMenuBar();
  }
  if (debug && debug->open) DrawDebugPanel(*debug);
  if (field) DrawTextField(*field, box != nullptr);
  if (box) DrawBox(*box);
  ImGui::Render();
  ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
}

void SdlUi::DebugWindowFrame(DebugPanel& debug) {
  if (!ready_) return;
  Select();
  ImGui_ImplSDLRenderer_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  const ImGuiIO& io = ImGui::GetIO();
  ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
  ImGui::SetNextWindowSize(io.DisplaySize);
  const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                 ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus;
  if (ImGui::Begin("##orivane-debug-window", nullptr, flags)) DrawDebugContents(debug);
  ImGui::End();
  ImGui::Render();
  ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
}

}  // namespace orivane
