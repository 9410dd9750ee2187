// SPDX-License-Identifier: MIT
// The RTF control words and Vovuzaduz symbol tags that stand for a character.
#pragma once

#include <string_view>

// The replacement of a control word (backslash included, exact and case-sensitive), such as
// "\tab" -> U+0009; empty when the word is not one of them.
std::u16string_view ControlWordReplacement(std::u16string_view word);

// The replacement of a Vovuzaduz symbol tag name (exact, case-sensitive), such as "hs" ->
// U+00A0; empty when the name is not one of them. "gt" and "lt" give the escaped forms.
std::u16string_view SymbolTagReplacement(std::u16string_view name);
