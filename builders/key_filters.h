#pragma once

namespace vendigo {

// Filters on one typed character, run before the control sees it. Text that reaches a control
// otherwise (pasted) is not filtered. Backspace (U+0008) always passes the edit filters so the
// user can still delete.
inline constexpr char32_t kBackspace = U'\b';

// The message the two builder grids show before discarding a refused key.
inline constexpr char kKeyNotAllowedMessage[] =
    "That key is not allowed in this input; it may cause undesirable results.";

// Price edits and price columns: "0"-"9", "." and backspace.
bool PriceKeyAllowed(char32_t key);
// What a key typed into a price edit or price column stands for, before PriceKeyAllowed judges
// it: a "," is the decimal point in much of the world, so it stands for "." while the text it goes
// into has no point yet; any other key stands for itself (a second comma is then refused).
char32_t PriceKeyMeaning(char32_t key, bool textHasPoint);
// Weight edits and weight columns: "0"-"9" and backspace.
bool WeightKeyAllowed(char32_t key);
// Taxable columns: "0", "1" and backspace (the cell's own rule sees to its length).
bool TaxableKeyAllowed(char32_t key);
// Every cell of the extended option builder grid: anything but "^" and the double quote.
bool ExtendedOptionGridKeyAllowed(char32_t key);
// Every cell of the addit builder grid: anything but "^", "<" and ">" (that builder writes
// double quotes as "&quot;" itself).
bool AddItGridKeyAllowed(char32_t key);

}  // namespace vendigo
