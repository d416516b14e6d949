#include "builders/key_filters.h"

namespace vendigo {

namespace {

bool IsDigitKey(char32_t key) {
  return key >= U'0' && key <= U'9';
}

}  // namespace

bool PriceKeyAllowed(char32_t key) {
  return IsDigitKey(key) || key == U'.' || key == kBackspace;
}

char32_t PriceKeyMeaning(char32_t key, bool textHasPoint) {
  return key == U',' && !textHasPoint ? U'.' : key;
}

bool WeightKeyAllowed(char32_t key) {
  return IsDigitKey(key) || key == kBackspace;
}

bool TaxableKeyAllowed(char32_t key) {
  return key == U'0' || key == U'1' || key == kBackspace;
}

bool ExtendedOptionGridKeyAllowed(char32_t key) {
  return key != U'^' && key != U'"';
}

bool AddItGridKeyAllowed(char32_t key) {
  return key != U'^' && key != U'<' && key != U'>';
}

}  // namespace vendigo
