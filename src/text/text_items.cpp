#include "text/text_items.h"

#include <string>

#include "util/sjis.h"

namespace orivane {
namespace {

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

int HexValue(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  c |= 0x20;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Bytes that mean something of their own in story text: a single-byte
// character shares its cell only with a following byte that is plain text.
bool IsControlByte(uint8_t c) {
  switch (c) {
    case ' ': case '\t': case '!': case '#': case '&': case '(': case '/': case ')':
    case '<': case '>': case '{': case '}': case '_': case '@': case '\\': case '\n':
      return true;
    default:
      return false;
  }
}

// Decimal digits from `at` (at most nine, so any value fits); `at` moves past them.
int64_t ReadDigits(std::string_view t, size_t& at) {
  int64_t v = 0;
  for (int n = 0; at < t.size() && IsDigit(t[at]) && n < 9; ++n) v = v * 10 + (t[at++] - '0');
  while (at < t.size() && IsDigit(t[at])) ++at;
  return v;
}

// Whether "(" at `at` opens a ruby group: a "/" and then a ")" follow.
bool RubyGroupFollows(std::string_view t, size_t at) {
  bool slash = false;
  for (size_t i = at + 1; i < t.size(); ++i) {
    const uint8_t c = t[i];
    if (IsSjisLead(c)) {
      ++i;
      continue;
    }
    if (!slash && c == '/') slash = true;
    else if (slash && c == ')') return true;
  }
  return false;
}

TextItem Character(std::string_view t, size_t at) {
  const uint8_t c = t[at];
  TextItem item{TextItemKind::kCharacter, at, at + 1, c, 0, 0};
  if (IsSjisLead(c)) {
    if (at + 1 >= t.size()) return TextItem{TextItemKind::kEnd, at, t.size()};
    item.second = t[at + 1];
    item.end = at + 2;
  } else if (at + 1 < t.size()) {
    const uint8_t next = t[at + 1];
    if (!IsSjisLead(next) && !IsControlByte(next)) {
      item.second = next;
      item.end = at + 2;
    }
  }
  return item;
}

}  // namespace

TextItem ReadTextItem(std::string_view t, size_t at, bool in_ruby_base, bool in_ruby_reading) {
  const uint8_t c = t[at];
  TextItem item{TextItemKind::kIgnored, at, at + 1};
  auto with = [&](TextItemKind kind) {
    item.kind = kind;
    return item;
  };
  switch (c) {
    case ' ':
    case '\t':
      return with(TextItemKind::kBlank);
    case '!': {
      const uint8_t what = at + 1 < t.size() ? t[at + 1] : 0;
      if (what != 'w' && what != 'd' && what != 's') return with(TextItemKind::kIgnored);
      size_t i = at + 2;
      if (what == 's' && i < t.size() && t[i] == 'd') {
        item.end = i + 1;
        return with(TextItemKind::kMenuSpeed);
      }
      item.number = ReadDigits(t, i);
      item.end = i;
      return with(what == 'w' ? TextItemKind::kWait
                              : what == 'd' ? TextItemKind::kClickableWait : TextItemKind::kSpeed);
    }
    case '#': {
      uint32_t rgb = 0;
      for (size_t k = 1; k <= 6; ++k) {
        const int h = at + k < t.size() ? HexValue(t[at + k]) : -1;
        if (h < 0) {
          item.end = at + k;
          return with(TextItemKind::kBadColour);
        }
        rgb = rgb << 4 | static_cast<uint32_t>(h);
      }
      item.end = at + 7;
      item.number = rgb;
      return with(TextItemKind::kColour);
    }
    case '&': {
      size_t i = at + 1;
      item.number = ReadDigits(t, i);
      item.end = i;
      return with(TextItemKind::kPaletteColour);
    }
    case '(':
      if (!in_ruby_base && !in_ruby_reading && RubyGroupFollows(t, at)) return with(TextItemKind::kRubyOpen);
      break;
    case '/':
      if (in_ruby_base) return with(TextItemKind::kRubySlash);
      return with(at + 1 == t.size() ? TextItemKind::kJoinLine : TextItemKind::kBadSlash);
    case ')':
      if (in_ruby_reading) return with(TextItemKind::kRubyClose);
      break;
    case '<': {
      // The button's number, when digits follow; -1 for the next automatic one.
      size_t i = at + 1;
      item.number = i < t.size() && IsDigit(t[i]) ? ReadDigits(t, i) : -1;
      item.end = i;
      return with(TextItemKind::kButtonOpen);
    }
    case '>':
      return with(TextItemKind::kButtonClose);
    case '{': {
      size_t i = at + 1;
      while (i < t.size() && t[i] != '}') i += IsSjisLead(static_cast<uint8_t>(t[i])) ? 2 : 1;
      item.end = i < t.size() ? i + 1 : t.size();
      return with(TextItemKind::kAssignments);
    }
    case '_':
      if (at + 1 < t.size() && (t[at + 1] == '@' || t[at + 1] == '\\')) {
        item.end = at + 2;
        return with(TextItemKind::kSkippedWait);
      }
      return with(TextItemKind::kNoClickWait);
    case '\n':
      return with(TextItemKind::kLineFeed);
    case '@':
      return with(TextItemKind::kClickWait);
    case '\\':
      return with(TextItemKind::kPageWait);
    default:
      break;
  }
  return Character(t, at);
}

std::string PrintedCharacters(std::string_view t) {
  std::string out;
  bool base = false, reading = false;
  for (size_t at = 0; at < t.size();) {
    const TextItem item = ReadTextItem(t, at, base, reading);
    switch (item.kind) {
      case TextItemKind::kCharacter:
        if (!reading) out.append(t.substr(item.begin, item.end - item.begin));
        break;
      case TextItemKind::kRubyOpen:
        base = true;
        break;
      case TextItemKind::kRubySlash:
        base = false;
        reading = true;
        break;
      case TextItemKind::kRubyClose:
        reading = false;
        break;
      default:
        break;
    }
    if (item.kind == TextItemKind::kEnd) break;
    at = item.end;
  }
  return out;
}

}  // namespace orivane
