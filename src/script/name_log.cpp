#include "script/name_log.h"

#include "util/sjis.h"

namespace orivane {

std::string NameLog::Normalize(std::string_view name) {
  std::string out(name);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsSjisLead(c)) {  // the trail byte of a two-byte character is never a letter or slash
      ++i;
      continue;
    }
    if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 'a' + 'A');
    else if (c == '/') out[i] = '\\';
  }
  return out;
}

void NameLog::Add(std::string_view name) {
  if (order_.size() >= kCapacity) return;
  std::string key = Normalize(name);
  if (set_.insert(key).second) order_.push_back(std::move(key));
}

bool NameLog::Contains(std::string_view name) const { return set_.count(Normalize(name)) != 0; }

void NameLog::Clear() {
  set_.clear();
  order_.clear();
}

}  // namespace orivane
