// SPDX-License-Identifier: MIT
// ICU converters by Windows code page number.
#pragma once

#include <memory>

struct UConverter;

struct IcuConverterCloser {
  void operator()(UConverter* converter) const;
};
using IcuConverter = std::unique_ptr<UConverter, IcuConverterCloser>;

// A new converter for the code page (each caller owns its own, converters keep state); empty when
// ICU has none under any of the code page's names.
IcuConverter OpenIcuConverter(unsigned codePage);
// A new converter by ICU name; empty when ICU has none of that name.
IcuConverter OpenIcuConverterNamed(const char* name);
