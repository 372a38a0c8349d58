// The transition settings: 256 effect slots (type, duration, mask picture),
// the pause after transitions, the speed switches and the text-window effect.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orivane {

struct EffectSlot {
  int32_t type = -1;  // -1 = undefined
  int32_t duration = 0;
  std::string mask;
};

struct EffectSettings {
  static constexpr int kSlotCount = 256;
  std::array<EffectSlot, kSlotCount> slots;
  int32_t blank_ms = 30;   // `effectblank`
  int32_t speed_mode = 0;  // 0 normal, 1 half duration, 2 instant
  bool cut = false;        // `effectcut`: instant while skipping
  EffectSlot window_effect{1, 0, {}};

  EffectSettings() {
    slots[0].type = 0;
    slots[1].type = 1;
  }
};

}  // namespace orivane
