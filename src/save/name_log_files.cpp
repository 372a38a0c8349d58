#include "save/name_log_files.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "engine.h"
#include "save/persistent_file_io.h"
#include "script/name_log.h"
#include "util/sjis.h"

namespace orivane {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class LogText {
 public:
  explicit LogText(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  // The leading count; nullopt when there is no number. A count beyond
  // `limit` reads as `limit`, a negative one as 0.
  std::optional<size_t> Count(size_t limit) {
    SkipBlanks();
    bool negative = false;
    if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+'))
      negative = text_[pos_++] == '-';
    const size_t digits_start = pos_;
    size_t n = 0;
    for (; pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9'; ++pos_)
      if (n <= limit) n = n * 10 + static_cast<size_t>(text_[pos_] - '0');
    if (pos_ == digits_start) return std::nullopt;
    return negative ? 0 : std::min(n, limit);
  }

  // One quoted name, decoded; nullopt when there is none or it never ends.
  // A name byte may itself encode to a quote (0x85 ^ 0xA7 is '"'). As the
  // second byte of a two-byte character (full-width "ｅ" is 0x82 0x85) it
  // belongs to the name: a name ends only where a character could end.
  std::optional<std::string> Name() {
    SkipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != '"') return std::nullopt;
    ++pos_;
    std::string name;
    bool second_byte = false;
    for (; pos_ < text_.size(); ++pos_) {
      const char raw = text_[pos_];
      if (raw == '"' && !second_byte) {
        ++pos_;
        return name;
      }
      const uint8_t byte = static_cast<uint8_t>(raw) ^ kNameLogKey;
      name.push_back(static_cast<char>(byte));
      second_byte = !second_byte && IsSjisLead(byte);
    }
    return std::nullopt;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

bool WriteLog(Engine& engine, const NameLog& log, std::string_view file) {
  const std::string text = EncodeNameLogFile(log);
  return WritePersistentFile(engine, file, text.data(), text.size());
}

void LoadLog(Engine& engine, NameLog& log, std::string_view file) {
  const std::vector<uint8_t> bytes = ReadPersistentFile(engine, file);
  DecodeNameLogFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                    log);
}

}  // namespace

std::string EncodeNameLogFile(const NameLog& log) {
  std::string text = std::to_string(log.size()) + "\n";
  for (const std::string& name : log.names()) {
    text.push_back('"');
    for (char c : name) text.push_back(static_cast<char>(static_cast<uint8_t>(c) ^ kNameLogKey));
    text.push_back('"');
  }
  return text;
}

void DecodeNameLogFile(std::string_view text, NameLog& log) {
  LogText in(text);
  const std::optional<size_t> count = in.Count(NameLog::kCapacity);
  if (!count) return;
  for (size_t i = 0; i < *count; ++i) {
    std::optional<std::string> name = in.Name();
    if (!name) return;
    log.Add(*name);
  }
}

bool WriteNameLogFiles(Engine& engine) {
  bool ok = true;
  if (engine.archive.file_log_on) ok = WriteLog(engine, engine.file_log, kFileLogFile) && ok;
  if (engine.persistent.label_log_kept)
    ok = WriteLog(engine, engine.label_log, kLabelLogFile) && ok;
  return ok;
}

void LoadNameLogFiles(Engine& engine) {
  if (engine.archive.file_log_on) LoadLog(engine, engine.file_log, kFileLogFile);
  if (engine.persistent.label_log_kept) LoadLog(engine, engine.label_log, kLabelLogFile);
}

}  // namespace orivane
