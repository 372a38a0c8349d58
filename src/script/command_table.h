// The one registry of built-in commands. It is seeded with every command word
// of the language (with its define-only flag); each subsystem registers the
// handlers of the words it owns. A word without a handler yet is still a
// known word: running it reports that it is not available in this build.
#pragma once

#include <string_view>
#include <unordered_map>

namespace orivane {

struct Engine;

using CommandHandler = void (*)(Engine&);
// Runs a word that is no command when the word is a shorthand of some
// subsystem (the voice shorthands); false when it is none.
using ShorthandHandler = bool (*)(Engine&, std::string_view word);

struct CommandInfo {
  std::string_view word;
  bool define_only = false;
  CommandHandler handler = nullptr;
};

class CommandTable {
 public:
  CommandTable();

  // Attaches the handler to a word of the index. Registering a word that is
  // not in the index is a programming error and aborts.
  void Register(std::string_view word, CommandHandler handler);

  // The entry for a lower-case word, or nullptr for a word that does not exist.
  const CommandInfo* Find(std::string_view word) const;

  // The handler of words that are no command; nullptr: none.
  void SetShorthand(ShorthandHandler handler) { shorthand_ = handler; }
  ShorthandHandler shorthand() const { return shorthand_; }

 private:
  std::unordered_map<std::string_view, CommandInfo> table_;
  ShorthandHandler shorthand_ = nullptr;
};

}  // namespace orivane
