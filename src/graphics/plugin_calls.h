// Calls into layer and command plug-ins. A plug-in's code runs between our
// frames, and what it calls back (the exported functions) may end the run
// (an error report, a confirmed quit). That end must not unwind through the
// plug-in's own frames, so an export keeps it as pending and returns; once
// the plug-in has returned, CallPlugin raises it here.
#pragma once

#include <algorithm>
#include <array>
#include <exception>
#include <type_traits>
#include <utility>

#include "orivane/plugin.h"
#include "script/general_state.h"

namespace orivane {

struct PluginCallState {
  int depth = 0;                 // plug-in calls running now (they may nest)
  bool command_running = false;  // an `exec_dll` plug-in runs (read by the shell)
  std::exception_ptr pending;    // the end of the run an export met
};

// Raises the pending end of the run, if any.
inline void RaisePendingPluginExit(PluginCallState& st) {
  if (!st.pending) return;
  std::exception_ptr e = std::exchange(st.pending, nullptr);
  std::rethrow_exception(e);
}

// Runs `call` (which calls into a plug-in) and returns its result, then
// raises what an export left pending meanwhile.
template <class Call>
auto CallPlugin(PluginCallState& st, Call&& call) {
  struct Depth {
    PluginCallState& st;
    explicit Depth(PluginCallState& s) : st(s) { ++st.depth; }
    ~Depth() { --st.depth; }
  } depth(st);
  if constexpr (std::is_void_v<decltype(call())>) {
    call();
    RaisePendingPluginExit(st);
  } else {
    auto result = call();
    RaisePendingPluginExit(st);
    return result;
  }
}

// The return channel as a plug-in sees it: the value, and the string in a
// buffer of ORVN_RETURN_STRING_SIZE bytes that comes in holding the current
// string. Commit takes back what the plug-in left there.
class PluginReturn {
 public:
  explicit PluginReturn(ReturnChannel& channel) : channel_(channel), value_(channel.value) {
    const size_t n = std::min(channel.text.size(), text_.size() - 1);
    std::copy_n(channel.text.data(), n, text_.data());
  }
  int* value() { return &value_; }
  char* text() { return text_.data(); }
  void Commit() {
    text_.back() = '\0';  // a plug-in that filled the buffer to the end
    channel_.value = value_;
    channel_.text = text_.data();
  }

 private:
  ReturnChannel& channel_;
  int value_;
  std::array<char, ORVN_RETURN_STRING_SIZE> text_{};
};

}  // namespace orivane
