#include "sound/movie_commands.h"

#include <string>

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "sound/movie_player.h"

namespace orivane {
namespace {

// The file name and the clickable switch of the three players.
struct FileAndClick {
  std::string file;
  bool clickable = false;
};
FileAndClick ReadFileAndClick(Engine& engine) {
  FileAndClick a;
  a.file = ReadString(engine);
  ExpectComma(engine);
  a.clickable = ReadNumber(engine) != 0;
  return a;
}

// `avi` leaves the click that ended the movie to the text that follows.
void CmdAvi(Engine& engine) {
  const FileAndClick a = ReadFileAndClick(engine);
  MovieRequest r;
  r.clickable = a.clickable;
  PlayMovie(engine, a.file, r, MovieOpenFailure::kAviReport);
}

void CmdMpegplay(Engine& engine) {
  const FileAndClick a = ReadFileAndClick(engine);
  MovieRequest r;
  r.clickable = a.clickable;
  PlayMovie(engine, a.file, r, MovieOpenFailure::kNote);
  engine.input.left_clicked = false;
}

// Stores 1 once the movie was shown, 0 when there was none to show.
void CmdMpegplay2(Engine& engine) {
  const int32_t var = ExpectNumVar(engine, "mpegplay2の第一引数は数字変数です。");
  ExpectComma(engine);
  const FileAndClick a = ReadFileAndClick(engine);
  MovieRequest r;
  r.clickable = a.clickable;
  const bool shown = PlayMovie(engine, a.file, r, MovieOpenFailure::kNote);
  engine.vars.SetNum(var, shown ? 1 : 0);
}

void CmdMovie(Engine& engine) {
  SkipBlanks(engine);
  const uint8_t first = engine.script.bytes[static_cast<size_t>(engine.script.pos)];
  if (first == 's' || first == 'S') {
    const std::string word = ReadToken(engine);
    if (!MovieActive(engine)) return;
    if (word != "stop") ReportError(engine, "movie命令への指定が間違っています。", "エラー");
    StopMovie(engine);
    return;
  }
  const std::string file = ReadString(engine);
  MovieRequest r;
  while (CommaFollows(engine)) {
    ExpectComma(engine);
    const std::string option = ReadToken(engine);
    if (option == "pos" || option == "position") {
      int32_t* fields[] = {&r.rect.x, &r.rect.y, &r.rect.width, &r.rect.height};
      for (int32_t* f : fields) {
        ExpectComma(engine);
        *f = ReadNumber(engine);
      }
    } else if (option == "click") {
      r.clickable = true;
    } else if (option == "loop") {
      r.loop = true;
    } else if (option == "async") {
      r.async = true;
    } else {
      ReportError(engine, "movie命令に与えるパラメータが間違っています。", "エラー");
    }
  }
  PlayMovie(engine, file, r, MovieOpenFailure::kNote);
  if (!r.async) engine.input.left_clicked = false;
}

void CmdSwf(Engine&) {}

}  // namespace

void RegisterMovieCommands(CommandTable& table) {
  table.Register("avi", CmdAvi);
  table.Register("mpegplay", CmdMpegplay);
  table.Register("mpegplay2", CmdMpegplay2);
  table.Register("movie", CmdMovie);
  table.Register("swf", CmdSwf);
}

}  // namespace orivane
