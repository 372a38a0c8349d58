// Playing a movie over the game screen: opening it (a loose file or one
// extracted from the archives), pacing its frames on the engine clock,
// drawing each at the movie's rectangle over the game screen, and stopping it.
// A synchronous movie plays inside its command; an async one is driven
// between commands by the wait list.
#pragma once

#include <string_view>

#include "sound/movie_state.h"

namespace orivane {

struct Engine;

// How a movie's file that cannot be played is taken.
enum class MovieOpenFailure {
  kNote,       // a note, and the script goes on (the media-graph players)
  kAviReport,  // the "AVI Error 1" report (`avi`)
};

struct MovieRequest {
  MovieRect rect;  // width or height 0: the whole screen
  bool clickable = false;
  bool loop = false;
  bool async = false;
};

// Once: the async movie joins the wake list.
void AttachMovies(Engine& engine);

// Opens `name` and plays it as `request` says: to its end (or a click when
// clickable, a reset or quit request) unless async. False when nothing was
// played: the file is missing (reported unless `noloaderror`) or no movie.
bool PlayMovie(Engine& engine, std::string_view name, const MovieRequest& request,
               MovieOpenFailure failure);

// Whether a movie is open (an async one still counts after its last frame).
bool MovieActive(const Engine& engine);

// Closes the movie, deletes its temporary copy and shows the game screen again.
void StopMovie(Engine& engine);

}  // namespace orivane
