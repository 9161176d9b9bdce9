// Characters espeak-ng would spell as codes, name in English or split a word at, made readable.
#pragma once

#include <string>
#include <string_view>

namespace veldrisa {

// Valid UTF-8 as espeak-ng should get it: composed, invisible format characters (joiners,
// bidirectional controls) dropped, a combining mark on no letter named in Spanish ("acento
// agudo"), and letters and numbers of other forms (Ⅻ, ①, ﬁ, fullwidth letters) in their plain
// form. Marks of punctuation are left to SpanishMarks.
std::string PlainForms(std::string_view text);

}  // namespace veldrisa
