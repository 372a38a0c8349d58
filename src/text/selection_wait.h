// The selection wait: the choices are printed into the text window, one
// under the other from the text cursor, in the normal selection colour, and
// the engine waits until the player takes one. The choice under the pointer
// is drawn again in the highlight colour; Up and Down move the pointer from
// choice to choice; a left click (or Space, or Enter) takes the highlighted
// one. A scripted player takes one with a `choose` line.
#pragma once

#include <cstdint>
#include <vector>

#include "text/selection_state.h"

namespace orivane {

struct Engine;

// The wait ended without a choice: a reset took the script elsewhere, and
// the command that showed the selection does nothing more.
inline constexpr int32_t kSelectionAbandoned = -1;

// Shows `choices` (at least one) and waits. Returns the index of the choice
// taken, or kSelectionAbandoned. Ends skip mode first: a selection is where
// skipping stops.
int32_t RunSelectionWait(Engine& engine, const std::vector<Choice>& choices);

}  // namespace orivane
