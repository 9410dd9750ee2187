// SPDX-License-Identifier: MIT
#include "tests/fuzz/xml_check.h"

#include <libxml/parser.h>
#include <libxml/valid.h>
#include <libxml/xmlerror.h>

#include <cstdio>
#include <cstdlib>

namespace fuzz {
namespace {

void Quiet(void*, const char*, ...) {}

// The validation never weakens: without a readable DTD the process ends with a message.
xmlDtdPtr LoadDtd() {
  xmlSetGenericErrorFunc(nullptr, Quiet);
  const char* path = std::getenv("VELMAR_FUZZ_DTD");
  if (!path) path = VELMAR_DTD_PATH;
  std::FILE* probe = std::fopen(path, "rb");
  xmlDtdPtr dtd = nullptr;
  if (probe) {
    std::fclose(probe);
    dtd = xmlParseDTD(nullptr, reinterpret_cast<const xmlChar*>(path));
  }
  if (!dtd) {
    std::fprintf(stderr, "cannot read the TMX 1.4 DTD %s\n", path);
    std::abort();
  }
  return dtd;
}

xmlDtdPtr Dtd() {
  static const xmlDtdPtr dtd = LoadDtd();
  return dtd;
}

[[noreturn]] void Fail(const char* what, const char* check, std::string_view document) {
  std::fprintf(stderr, "%s: output is not %s:\n", what, check);
  std::fwrite(document.data(), 1, document.size() > 4000 ? 4000 : document.size(), stderr);
  std::fputc('\n', stderr);
  std::abort();
}

}  // namespace

void RequireValidTmx(std::string_view document, const char* what) {
  xmlDtdPtr dtd = Dtd();
  xmlDocPtr doc = xmlReadMemory(document.data(), static_cast<int>(document.size()), "out.tmx",
                                nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc) Fail(what, "well-formed XML", document);
  xmlValidCtxtPtr context = xmlNewValidCtxt();
  context->error = Quiet;
  context->warning = Quiet;
  const int valid = xmlValidateDtd(context, doc, dtd);
  xmlFreeValidCtxt(context);
  if (!valid) {
    xmlFreeDoc(doc);
    Fail(what, "valid against the TMX 1.4 DTD", document);
  }
  xmlFreeDoc(doc);
}

}  // namespace fuzz
