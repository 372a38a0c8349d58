#include "text/text_output.h"

#include "engine.h"
#include "platform/platform.h"
#include "script/error.h"
#include "shell/pump.h"
#include "text/text_picture.h"
#include "text/text_window_display.h"
#include "util/sjis.h"

namespace orivane {
namespace {

bool IsHex(uint8_t c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
bool IsDigitByte(uint8_t c) { return c >= '0' && c <= '9'; }

// "{%n,value,$n,text}": sets variables; returns the index after the '}'.
size_t RunBraceAssignments(Engine& engine, std::string_view t, size_t i) {
  auto skip = [&] {
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n')) ++i;
  };
  auto number = [&]() -> int64_t {
    skip();
    int64_t sign = 1;
    if (i < t.size() && t[i] == '-') {
      sign = -1;
      ++i;
    }
    int64_t v = 0;
    for (int digits = 0; i < t.size() && IsDigitByte(t[i]) && digits < 18; ++digits) v = v * 10 + (t[i++] - '0');
    return v * sign;
  };
  auto comma = [&] {
    skip();
    if (i < t.size() && t[i] == ',') ++i;
  };
  ++i;  // '{'
  for (;;) {
    skip();
    if (i >= t.size()) return i;
    if (t[i] == '}') return i + 1;
    if (t[i] == '%') {
      ++i;
      int64_t n = number();
      comma();
      engine.vars.SetNum(n, static_cast<int32_t>(number()));
    } else if (t[i] == '$') {
      ++i;
      int64_t n = number();
      comma();
      std::string value;
      while (i < t.size() && t[i] != ',' && t[i] != '}') {
        if (IsSjisLead(static_cast<uint8_t>(t[i])) && i + 1 < t.size()) value.push_back(t[i++]);
        value.push_back(t[i++]);
      }
      engine.vars.SetStr(n, std::move(value));
    } else {
      ReportError(engine, "表示文中の{}の指定が間違っています。", "エラー");
    }
    comma();
  }
}

}  // namespace

std::string PrintableText(Engine& engine, std::string_view t) {
  std::string out;
  size_t i = 0;
  bool in_ruby = false;
  while (i < t.size()) {
    uint8_t c = static_cast<uint8_t>(t[i]);
    if (IsSjisLead(c) && i + 1 < t.size()) {
      out.append(t.substr(i, 2));
      i += 2;
      continue;
    }
    switch (c) {
      case ' ': case '\t': case '@': case '\\': case '_': case '<': case '>':
        ++i;
        break;
      case '!': {
        ++i;
        if (i < t.size() && (t[i] == 'w' || t[i] == 'd' || t[i] == 's')) {
          bool speed = t[i] == 's';
          ++i;
          if (speed && i < t.size() && t[i] == 'd') ++i;
          while (i < t.size() && IsDigitByte(t[i])) ++i;
        }
        break;
      }
      case '#':
        ++i;
        for (int k = 0; k < 6 && i < t.size() && IsHex(t[i]); ++k) ++i;
        break;
      case '&':
        ++i;
        while (i < t.size() && IsDigitByte(t[i])) ++i;
        break;
      case '(':
        in_ruby = true;
        ++i;
        break;
      case '/':
        // Inside ruby the reading follows the slash up to ')'; outside, a
        // slash only joins this line to the next.
        ++i;
        if (in_ruby) {
          while (i < t.size() && t[i] != ')') i += IsSjisLead(static_cast<uint8_t>(t[i])) ? 2 : 1;
        }
        break;
      case ')':
        in_ruby = false;
        ++i;
        break;
      case '{':
        i = RunBraceAssignments(engine, t, i);
        break;
      default:
        out.push_back(static_cast<char>(c));
        ++i;
    }
  }
  return out;
}

void OutputText(Engine& engine, std::string_view sjis) {
  engine.platform.EchoStoryText(SjisToUtf8(PrintableText(engine, sjis)));
  // Until the text window draws character by character, the line is shown
  // whole and then each click wait ('@') and page wait ('\\') waits in turn.
  for (size_t i = 0; i < sjis.size(); ++i) {
    uint8_t c = static_cast<uint8_t>(sjis[i]);
    if (IsSjisLead(c)) {
      ++i;
    } else if (c == '_') {
      ++i;  // "_@" and "_\\" do not wait
    } else if (c == '{') {
      while (i < sjis.size() && sjis[i] != '}') ++i;
    } else if (c == '@' || c == '\\') {
      if (WaitForClick(engine, c == '@' ? PlayerWait::kClick : PlayerWait::kPage) == ClickWaitEnd::kRequest) return;
    }
  }
}

void AttachText(Engine& engine) {
  engine.interp.text_sink = OutputText;
  InstallTextWindowHooks(engine);
  InstallTextPictureRenderer(engine);
}

void ResetTextForStartUp(Engine& engine) { engine.text = TextWindow{}; }

}  // namespace orivane
