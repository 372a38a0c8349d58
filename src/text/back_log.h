// BackLog: the pages of text the player has read, for the back-log viewer.
// Every character that text output puts into the text window is appended to
// the page being collected, with a line feed for every line break and a
// full-width space for every column of indentation, and ruby as written
// ("(" base "/" reading ")"), so that the viewer can lay the page out again
// exactly. When the page ends (a page wait, `textclear`, a choice …) it is
// committed to a bounded list of old pages. The record also keeps how the
// viewer looks: its text colour, its two page buttons and its sound.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "graphics/image_surface.h"

namespace orivane {

// The viewer's two page buttons, each as two pictures: [0] with the pointer
// over it, [1] without. Older pages are above, newer ones below.
enum class BackLogButton : int { kOlder = 0, kNewer = 1 };

struct BackLogLook {
  uint32_t colour = 0xFFFF40;  // `lookbackcolor`
  // `lookbackbutton`: older over, older, newer over, newer.
  std::array<ImageSurface, 4> pictures;
  bool pictures_set = false;  // the *define block gave `lookbackbutton`
  // `lookbacksp`: sprites shown as the buttons instead of the pictures (-1: none).
  int32_t older_sprite = -1;
  int32_t newer_sprite = -1;
  std::string open_voice;  // `lookbackvoice` (Shift-JIS file name; empty: none)
};

// The viewer while it is open.
struct BackLogViewerState {
  bool open = false;
  int32_t page = 0;           // the page shown, counted back from the newest (1 = newest)
  int32_t pointer_over = -1;  // the button under the pointer (a BackLogButton), -1 none
};

class BackLog {
 public:
  static constexpr int32_t kDefaultMaxPages = 16;

  // Logging on (`lookbackon`) or off (`lookbackoff`): off, nothing is
  // appended or committed, and the pages kept stay.
  bool on = true;
  int32_t max_pages = kDefaultMaxPages;  // `maxkaisoupage`
  BackLogLook look;
  BackLogViewerState viewer;

  // Adds text output's bytes to the page being collected.
  void Append(std::string_view bytes);
  // The page being collected becomes the newest page (an empty page adds
  // nothing); beyond `max_pages` the oldest go.
  void Commit();
  // Drops the page being collected (`lookbackflush`, `setwindow`).
  void DropCollected() { collected_.clear(); }
  // No pages at all (a loaded game brings its own).
  void Clear();
  // Adds a page as it was stored (a loaded game's pages, oldest first).
  void AddPage(std::string page);

  const std::string& Collected() const { return collected_; }
  int32_t PageCount() const { return static_cast<int32_t>(pages_.size()); }
  // Page n counted back from the newest (1 = newest); nullptr out of range.
  const std::string* PageBack(int64_t n) const;

 private:
  void DropBeyondMax();

  // Set by a commit, cleared by the next append: a second commit in a row
  // commits nothing.
  bool committed_ = true;
  std::string collected_;
  std::deque<std::string> pages_;  // oldest first
};

}  // namespace orivane
