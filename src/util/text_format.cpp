#include "util/text_format.h"

namespace orivane {

std::string FormatBytes(std::string_view format, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(format.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out.push_back(c);
      continue;
    }
    char spec = format[i + 1];
    if (spec == '%') {
      out.push_back('%');
      ++i;
    } else if (spec == 's' || spec == 'd') {
      ++i;
      if (next == args.end()) continue;
      if (const auto* s = std::get_if<std::string_view>(&*next)) out.append(*s);
      else out.append(std::to_string(std::get<int64_t>(*next)));
      ++next;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace orivane
