#include "pages/catalogue_document.h"

#include "builders/url_encode.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

constexpr char kIndexFileName[] = "index.html";

// The head of a document up to and including "<body>".
std::string DocumentHead(std::string_view title) {
  return "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n<title>" +
         EscapeHtmlText(title) + "</title>\r\n</head>\r\n<body>\r\n";
}

constexpr char kDocumentEnd[] = "\r\n</body>\r\n</html>\r\n";

}  // namespace

std::string FileAddress(std::string_view fileName) {
  return PercentEncodeBytes(fileName, [](unsigned char byte) {
    const char c = static_cast<char>(byte);
    const char lower = AsciiLower(c);
    return (lower >= 'a' && lower <= 'z') || IsAsciiDigit(c) || c == '-' || c == '.' || c == '_' ||
           c == '~';
  });
}

std::string ProductPageDocument(std::string_view description, std::string_view body) {
  std::string document = DocumentHead(description);
  document += "<p><a href=\"";
  document += kIndexFileName;
  document += "\">All products</a></p>\r\n";
  document.append(body);
  document += kDocumentEnd;
  return document;
}

std::string CatalogueIndexDocument(std::string_view company,
                                   const std::vector<CatalogueEntry> &entries) {
  std::string document = DocumentHead(company);
  document += "<h1>" + EscapeHtmlText(company) +
              "</h1>\r\n<table>\r\n<tr><th>Product</th><th>Price</th></tr>\r\n";
  for (const CatalogueEntry &entry : entries) {
    document += "<tr><td><a href=\"" + FileAddress(entry.FileName) + "\">" +
                EscapeHtmlText(entry.Description) + "</a></td><td>" + EscapeHtmlText(entry.Price) +
                "</td></tr>\r\n";
  }
  document += "</table>";
  document += kDocumentEnd;
  return document;
}

}  // namespace vendigo
