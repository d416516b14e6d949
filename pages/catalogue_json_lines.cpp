#include "pages/catalogue_json_lines.h"

#include <nlohmann/json.hpp>

#include "core/json_document.h"
#include "core/json_fields.h"
#include "core/profile_file.h"
#include "core/text_encoding.h"
#include "pages/product_page_input.h"

namespace vendigo {

// The picture and the file name are taken out before the page's keys are read, as the
// catalogue copies the picture itself.
void ReadCatalogueJsonLine(const std::string &line, CatalogueRow &row) {
  nlohmann::json object;
  try {
    object = ReadJsonDocument(line);
  } catch (const JsonSyntaxError &error) {
    row.Error = "malformed JSON at offset " + std::to_string(error.offset) + ": " + error.what();
    return;
  }
  if (!object.is_object()) {
    row.Error = "the line must hold one JSON object";
    return;
  }
  try {
    row.FileName = Text(Field(object, "File"), "File");
    row.ImagePath = Text(Field(object, "ProductImage"), "ProductImage");
    object.erase("File");
    object.erase("ProductImage");
    row.Page = ReadProductPageInput(object);
  } catch (const JsonInputError &error) {
    row.Error = error.what();
  }
}

bool IsJsonLinesFile(const std::filesystem::path &file) {
  std::string extension = file.extension().string();
  for (char &c : extension) c = AsciiLower(c);
  return extension == ".jsonl";
}

CatalogueJsonLinesReader::CatalogueJsonLinesReader(std::unique_ptr<TextLines> text)
    : text_(std::move(text)) {}

bool CatalogueJsonLinesReader::Next(CatalogueRow &row) {
  for (std::string line; text_->Next(line);) {
    ++line_;
    line.erase(line.find_last_not_of("\r\n") + 1);
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    row = CatalogueRow{};
    row.Line = line_;
    ReadCatalogueJsonLine(line, row);
    return true;
  }
  return false;
}

void CatalogueJsonLinesReader::Rewind() {
  text_->Rewind();
  line_ = 0;
}

double CatalogueJsonLinesReader::Progress() const {
  return text_->Progress();
}

}  // namespace vendigo
