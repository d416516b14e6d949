#pragma once

// libxml2, which writes a catalogue's sitemap and feed, is loaded the first time a catalogue
// writes them rather than linked: linked, it and what it brings (ICU with its data and the shared
// C++ library, liblzma, zlib) would load at every start of vendigo-html, which scripts start once
// per fragment.

#include <libxml/xmlwriter.h>

namespace vendigo {

// clang-format off
#define VENDIGO_XML_WRITER_FUNCTIONS(X)                                                        \
  X(xmlInitParser) X(xmlOutputBufferCreateFile) X(xmlOutputBufferClose) X(xmlNewTextWriter)    \
  X(xmlFreeTextWriter) X(xmlTextWriterSetIndent) X(xmlTextWriterStartDocument)                 \
  X(xmlTextWriterEndDocument) X(xmlTextWriterStartElementNS) X(xmlTextWriterEndElement)        \
  X(xmlTextWriterWriteElement) X(xmlTextWriterWriteElementNS) X(xmlTextWriterWriteAttribute)   \
  X(xmlTextWriterWriteAttributeNS)
// clang-format on

// The functions, each named as in libxml2.
struct XmlWriterLibrary {
#define VENDIGO_POINTER(name) decltype(&::name) name = nullptr;
  VENDIGO_XML_WRITER_FUNCTIONS(VENDIGO_POINTER)
#undef VENDIGO_POINTER
};

// libxml2, loaded on the first call (and its parser state set up). Throws std::runtime_error
// ("The sitemap and feed need libxml2.so.2: <the loader's words>") when it cannot be loaded.
const XmlWriterLibrary &XmlWriter();

}  // namespace vendigo
