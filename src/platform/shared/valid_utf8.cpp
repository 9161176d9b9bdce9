// Replacing the bytes that are not UTF-8, through utf8proc's decoder.
#include "platform/shared/valid_utf8.hpp"

#include <utf8proc.h>

namespace veldrisa {

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    std::size_t i = 0;
    while (i < text.size()) {
        utf8proc_int32_t cp = -1;
        auto n = utf8proc_iterate(bytes + i, static_cast<utf8proc_ssize_t>(text.size() - i), &cp);
        if (n > 0) {
            out.append(text, i, static_cast<std::size_t>(n));
            i += static_cast<std::size_t>(n);
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

}  // namespace veldrisa
