#include "script/command_table.h"

#include <cstdio>
#include <cstdlib>

#include "script/command_index.h"

namespace orivane {

CommandTable::CommandTable() {
  table_.reserve(kCommandIndex.size() * 2);
  for (const CommandIndexEntry& e : kCommandIndex) table_.emplace(e.word, CommandInfo{e.word, e.define_only, nullptr});
}

void CommandTable::Register(std::string_view word, CommandHandler handler) {
  auto it = table_.find(word);
  if (it == table_.end()) {
    std::fprintf(stderr, "orivane: internal error: command '%.*s' is not in the command index\n",
                 static_cast<int>(word.size()), word.data());
    std::abort();
  }
  it->second.handler = handler;
}

const CommandInfo* CommandTable::Find(std::string_view word) const {
  auto it = table_.find(word);
  return it == table_.end() ? nullptr : &it->second;
}

}  // namespace orivane
