// printf-style formatting of byte strings for the engine's messages. Only
// %s, %d and %% are understood, which is all the message texts use; the
// arguments are taken in order and never read past their count.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace orivane {

using FormatArg = std::variant<std::string_view, int64_t>;

std::string FormatBytes(std::string_view format, std::initializer_list<FormatArg> args);

}  // namespace orivane
