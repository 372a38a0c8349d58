#include "script/labels.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "engine.h"
#include "script/error.h"
#include "script/label_scan.h"
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
  std::fill(slots_.begin(), slots_.end(), uint64_t{0});
}

uint64_t LabelTable::Hash(std::string_view name) {
  return std::hash<std::string_view>{}(name);
}

namespace {
constexpr uint64_t kTagBits = 0xFFFFFFFF00000000u;
constexpr uint64_t kLabelBits = 0xFFFFFFFFu;
}  // namespace

void LabelTable::Prefetch(uint64_t hash) const {
  if (!slots_.empty()) __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
}

void LabelTable::Add(int32_t position, std::string name, uint64_t hash) {
  labels_.push_back(Label{position, std::move(name)});
  if (labels_.size() * 2 > slots_.size())
    Grow();
  else
    Index(labels_.size() - 1, hash);
}

void LabelTable::Index(size_t label, uint64_t hash) {
  const std::string& name = labels_[label].name;
  const uint64_t tag = hash & kTagBits;
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    uint64_t slot = slots_[i];
    if (slot == 0) {
      slots_[i] = tag | (label + 1);
      return;
    }
    // A name seen before keeps its first label.
    if ((slot & kTagBits) == tag && labels_[(slot & kLabelBits) - 1].name == name) return;
  }
}

void LabelTable::Grow() {
  slots_.assign(std::max<size_t>(slots_.size() * 2, 1024), 0);
  for (size_t i = 0; i < labels_.size(); ++i) Index(i, Hash(labels_[i].name));
}

int LabelTable::Find(std::string_view lower_name, uint64_t hash) const {
  if (slots_.empty()) return -1;
  const uint64_t tag = hash & kTagBits;
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    uint64_t slot = slots_[i];
    if (slot == 0) return -1;
    int label = static_cast<int>(slot & kLabelBits) - 1;
    if ((slot & kTagBits) == tag && labels_[label].name == lower_name) return label;
  }
}

void BuildLabelTable(Engine& engine) {
  ScriptBuffer& s = engine.script;
  LabelTable& table = engine.labels;
  table.Clear();
  // Each label is entered into the table only once the scan has found the
  // next one, so that its index slot, fetched when its name was read, has
  // arrived meanwhile. Errors still come in script order: a label is checked
  // before the next one's name is read.
  struct Read {
    int32_t name_end;  // where reading the name stopped: the place errors name
    int32_t position;
    std::string name;
    uint64_t hash;
  };
  std::optional<Read> previous;
  auto enter_previous = [&] {
    if (!previous) return;
    s.pos = previous->name_end;
    if (table.Find(previous->name, previous->hash) >= 0)
      ReportError(engine, "ラベル*%sの多重定義です。", "エラー", {previous->name});
    if (table.size() >= LabelTable::kCapacity)
      ReportError(engine, "ラベルの数が多すぎます。", "エラー");
    table.Add(previous->position, std::move(previous->name), previous->hash);
    previous.reset();
  };
  // The scan stops at the first NUL: a stray NUL byte ends the script here too.
  // After a label it goes on from the end of the label's reading, which counts
  // as the start of a line: "*a *b" names two labels.
  for (int32_t from = 0;;) {
    int32_t star = FindLabelStar(s.bytes.data(), from, s.length);
    enter_previous();
    if (star < 0) break;
    s.pos = star;
    std::string name = ReadLabelName(engine);
    int32_t name_end = s.pos;
    SkipBlanks(engine);
    if (s.Cur() == '\n') s.Advance();
    uint64_t hash = LabelTable::Hash(name);
    table.Prefetch(hash);
    previous = Read{name_end, s.pos, std::move(name), hash};
    from = s.pos;
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
