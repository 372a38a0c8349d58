// The file log "Orvnflog.dat" and the label log "Orvnllog.dat": the names the
// FileLog and the LabelLog hold, kept from run to run once the *define block
// said `filelog` / `labellog`. Text: the count ("%d\n"), then each name in
// double quotes with every byte of the name XOR-ed with 0xA7. Nothing but the
// quotes separates the names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orivane {

struct Engine;
class NameLog;

inline constexpr std::string_view kFileLogFile = "Orvnflog.dat";
inline constexpr std::string_view kLabelLogFile = "Orvnllog.dat";
inline constexpr uint8_t kNameLogKey = 0xA7;

// The file's text for a log: its names in the order they were added.
std::string EncodeNameLogFile(const NameLog& log);

// Adds the names of a log file's text to `log`. Accepts what the encoder
// writes, blanks and line breaks between the names as well; reads at most
// the log's capacity of names and stops at anything else (a missing quote,
// an unterminated name, the end of the text before the count is reached).
void DecodeNameLogFile(std::string_view text, NameLog& log);

// The writer's step: each log that its switch keeps, written whole or not at
// all. True when every kept log was written.
bool WriteNameLogFiles(Engine& engine);

// After the *define block: the logs it asked for, from their files.
void LoadNameLogFiles(Engine& engine);

}  // namespace orivane
