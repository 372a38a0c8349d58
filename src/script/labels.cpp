#include "script/labels.h"

#include <cstring>

#include "engine.h"
#include "script/error.h"
#include "script/readers.h"

namespace orivane {

std::string ToLowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

void LabelTable::Clear() {
  labels_.clear();
  first_.clear();
}

void LabelTable::Add(int32_t position, std::string name) {
  first_.emplace(name, static_cast<int>(labels_.size()));
  labels_.push_back(Label{position, std::move(name)});
}

int LabelTable::Find(std::string_view lower_name) const {
  auto it = first_.find(std::string(lower_name));
  return it == first_.end() ? -1 : it->second;
}

void BuildLabelTable(Engine& engine) {
  ScriptBuffer& s = engine.script;
  LabelTable& table = engine.labels;
  table.Clear();
  const uint8_t* base = s.bytes.data();
  // The scan stops at the first NUL: a stray NUL byte ends the script here too.
  const int32_t end = static_cast<int32_t>(
      static_cast<const uint8_t*>(std::memchr(base, 0, static_cast<size_t>(s.length) + 1)) - base);
  s.pos = 0;
  while (s.pos < end) {
    uint8_t c = s.Cur();
    if (c == ' ' || c == '\t' || c == '\n') {
      s.Advance();
    } else if (c == '*') {
      std::string name = ReadLabelName(engine);
      if (table.Find(name) >= 0) ReportError(engine, "ラベル*%sの多重定義です。", "エラー", {name});
      if (table.size() >= LabelTable::kCapacity)
        ReportError(engine, "ラベルの数が多すぎます。", "エラー");
      SkipBlanks(engine);
      if (s.Cur() == '\n') s.Advance();
      table.Add(s.pos, std::move(name));
    } else {
      // The rest of this line holds no label. Jump to the next '*' that is the
      // first non-blank byte of its line; lines without one are passed over at
      // memchr speed.
      int32_t next = end;
      for (int32_t from = s.pos;;) {
        const void* star = std::memchr(base + from, '*', static_cast<size_t>(end - from));
        if (!star) break;
        int32_t q = static_cast<int32_t>(static_cast<const uint8_t*>(star) - base);
        int32_t b = q - 1;
        while (b >= s.pos && (base[b] == ' ' || base[b] == '\t')) --b;
        if (b >= s.pos && base[b] == '\n') {
          next = q;
          break;
        }
        from = q + 1;
      }
      s.pos = next;
    }
  }
  s.pos = 0;
}

void JumpToLabel(Engine& engine, std::string_view name) {
  std::string lower = ToLowerAscii(name);
  int i = engine.labels.Find(lower);
  if (i < 0) ReportError(engine, "ラベル*%sは存在しません", "ラベルエラー", {name});
  engine.script.Seek(engine.labels[i].position);
  engine.label_log.Add(lower);
}

}  // namespace orivane
