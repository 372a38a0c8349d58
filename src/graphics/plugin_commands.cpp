#include "graphics/plugin_commands.h"

#include <string>
#include <vector>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/direct_draw.h"
#include "graphics/layers.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

// A string as a plug-in receives it: a writable, NUL-terminated copy.
std::vector<char> WritableText(const std::string& text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  return buffer;
}

void CmdSetLayer(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  if (n < 0 || n >= kLayerCount) ReportError(engine, "レイヤ番号が不正です", "エラー");
  ExpectComma(engine);
  const int32_t interval = ReadNumber(engine);
  ExpectComma(engine);
  const std::string dll = ReadString(engine);
  SetLayer(engine, n, interval, dll);
}

void CmdLayerMessage(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  const std::string text = ReadString(engine);
  LayerRecord* layer = LayerAt(engine, n);
  if (!layer || !layer->message)
    ReportError(engine, "そのレイヤにはメッセージ関数がありません。", "エラー");
  std::vector<char> message = WritableText(text);
  PluginReturn ret(engine.ret);
  const int changed = CallPlugin(engine.graphics.plugins.calls, [&] {
    return layer->message(message.data(), ret.value(), ret.text());
  });
  ret.Commit();
  if (changed != 0) DirtyWholeScreen(engine);
}

void CmdExecDll(Engine& engine) {
  const DllString dll = SplitDllString(ReadString(engine));
  auto main =
      reinterpret_cast<OrvnPlugInMainFn>(engine.plugin_modules.Find(dll.module, "OrvnPlugInMain"));
  if (!main) ReportError(engine, "exec_dllへのDLL指定が不正です", "エラー");
  std::vector<char> parameters = WritableText(dll.parameters);
  PluginReturn ret(engine.ret);
  PluginCallState& calls = engine.graphics.plugins.calls;
  // The flag goes down again however the call ends.
  struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
  };
  int result = 0;
  {
    Running running(calls.command_running);
    result = CallPlugin(calls, [&] {
      return main(nullptr, PluginWindowToken(engine), parameters.data(), ret.value(), ret.text());
    });
  }
  ret.Commit();
  if (result == 1) ShowDisplay(engine);
}

}  // namespace

void RegisterPluginCommands(CommandTable& table) {
  table.Register("setlayer", CmdSetLayer);
  table.Register("layermessage", CmdLayerMessage);
  table.Register("exec_dll", CmdExecDll);
}

}  // namespace orivane
