// SPDX-License-Identifier: MIT
// Segment texts of the generated corpus: plain words or RTF-heavy inline code around them.
#pragma once

#include <string>

#include "bench/corpus_languages.h"
#include "bench/corpus_random.h"

struct CorpusStyles {
  std::string internal;        // control word of the tag style, e.g. "\cs6"
  std::string doNotTranslate;  // control word of the do-not-translate style, e.g. "\cs8"
};

// One segment. layout picks the inline code (give the source and the target copies of one
// generator so that their tags pair), words picks the wording. heavy: mostly inline code.
std::string MakeCorpusSegment(CorpusRandom layout, CorpusRandom& words,
                              const CorpusLanguage& language, const CorpusStyles& styles,
                              bool heavy);
