// SPDX-License-Identifier: MIT
#include "tools/icu_converter.h"

#include <unicode/ucnv.h>

#include <string>
#include <vector>

void IcuConverterCloser::operator()(UConverter* converter) const {
  ucnv_close(converter);
}

IcuConverter OpenIcuConverter(unsigned codePage) {
  const std::string n = std::to_string(codePage);
  std::vector<std::string> names;
  switch (codePage) {
    case 10000:
      names.push_back("macintosh");
      break;
    case 10007:
      names.push_back("x-mac-cyrillic");
      break;
    case 20866:
      names.push_back("KOI8-R");
      break;
    case 54936:
      names.push_back("gb18030");
      break;
    default:
      break;
  }
  if (codePage >= 28591 && codePage <= 28599) {
    names.push_back("iso-8859-" + std::to_string(codePage - 28590));
  }
  names.push_back("windows-" + n);
  names.push_back("cp" + n);
  names.push_back("ibm-" + n);
  for (const std::string& name : names) {
    if (IcuConverter converter = OpenIcuConverterNamed(name.c_str())) return converter;
  }
  return IcuConverter();
}

IcuConverter OpenIcuConverterNamed(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  IcuConverter converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) converter.reset();
  return converter;
}
