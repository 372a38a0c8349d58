// The font service on fontconfig: the installed faces of the machine.
#pragma once

#include "platform/font_service.h"

namespace orivane {

class FontconfigFonts final : public FontService {
 public:
  std::vector<FontMenuEntry> ListMenuFonts(int limit) override;
};

}  // namespace orivane
