#include "text/back_log.h"

#include <utility>

namespace orivane {

void BackLog::Append(std::string_view bytes) {
  if (!on) return;
  collected_.append(bytes);
  committed_ = false;
}

void BackLog::Commit() {
  if (!on || committed_) return;
  committed_ = true;
  if (collected_.empty()) return;
  pages_.push_back(std::move(collected_));
  collected_.clear();
  DropBeyondMax();
}

void BackLog::Clear() {
  pages_.clear();
  collected_.clear();
  committed_ = true;
}

void BackLog::AddPage(std::string page) {
  pages_.push_back(std::move(page));
  DropBeyondMax();
}

const std::string* BackLog::PageBack(int64_t n) const {
  if (n < 1 || n > static_cast<int64_t>(pages_.size())) return nullptr;
  return &pages_[pages_.size() - static_cast<size_t>(n)];
}

void BackLog::DropBeyondMax() {
  while (!pages_.empty() && static_cast<int64_t>(pages_.size()) > max_pages) pages_.pop_front();
}

}  // namespace orivane
