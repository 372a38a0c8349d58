#include "script/labels.h"

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
  s.pos = 0;
  for (;;) {
    uint8_t c = s.Cur();
    if (c == ' ' || c == '\t' || c == '\n') {
      s.Advance();
    } else if (c == 0) {
      break;
    } else if (c == '*') {
      std::string name = ReadLabelName(engine);
      if (table.Find(name) >= 0) ReportError(engine, "ラベル*%sの多重定義です。", "エラー", {name});
      if (table.size() >= LabelTable::kCapacity)
        ReportError(engine, "ラベルの数が多すぎます。", "エラー");
      SkipBlanks(engine);
      if (s.Cur() == '\n') s.Advance();
      table.Add(s.pos, std::move(name));
    } else {
      while (s.Cur() != '\n' && s.Cur() != 0) s.Advance();
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
