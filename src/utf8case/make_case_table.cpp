// Host tool: writes the lower-case table of every code point utf8proc lowers, as C++ source.
#include <utf8proc.h>

#include <cstdio>

int main() {
    std::printf("// Generated at build time from the host's utf8proc %s; do not edit.\n", utf8proc_version());
    std::printf("#include \"utf8case/utf8case.hpp\"\n\nnamespace veldrisa::utf8case {\n\n");
    std::printf("const CaseMapping LowerCaseTable[] = {\n");
    int count = 0;
    for (utf8proc_int32_t c = 0; c <= 0x10FFFF; ++c) {
        const utf8proc_int32_t lower = utf8proc_tolower(c);
        if (lower == c) continue;
        std::printf("    {0x%X, 0x%X},\n", static_cast<unsigned>(c), static_cast<unsigned>(lower));
        ++count;
    }
    std::printf("};\n\nconst int LowerCaseTableSize = %d;\n\n}  // namespace veldrisa::utf8case\n", count);
    return 0;
}
