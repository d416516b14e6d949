#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vendigo {

// The texts a price cell and a weight cell fall back to. The price default has two zeros before
// the point on purpose.
inline constexpr char kDefaultPriceText[] = "00.00";
inline constexpr char kDefaultWeightText[] = "0";

// True when every character is a digit "0"-"9", or a "." while pointsAllowed. The empty text
// passes, and so does a text with several points ("1.2.3"); ConvertPrice is the stricter check.
bool IsNumberText(std::string_view text, bool pointsAllowed);

// Reads a price written with "." as the decimal point, whatever the locale: digits, at most one
// point, digits, where either run may be missing ("4", ".5", "12." and a lone "." all convert).
// Empty text, two or more points, any other character (sign, blank, ",") or a value too large for
// a double give nullopt. A value too small to tell from zero reads as 0.
std::optional<double> ConvertPrice(std::string_view text);

// The value with the pattern "#,##0.00": at least one integer digit, "," between groups of three
// integer digits, "." and two decimals, independent of the locale. Rounds half away from zero,
// decided on the value written out to 18 significant digits, so 0.125 gives "0.13" but 2.675
// (stored as 2.67499999999999982) gives "2.67". A negative value gets "-" only when the rounded
// result is not zero. NaN and infinities give the default price text "00.00".
std::string FormatPrice(double value);

// source with every occurrence of pattern replaced by replacement. ASCII letters match without
// regard to case; every other byte (UTF-8 included) matches only itself. Occurrences are taken
// leftmost first; inserted text is never searched again, but with an empty replacement the text
// on both sides of a removal is searched together again ("ab" removed from "aabb" gives "").
// An empty pattern returns source. Runs in time linear in the sizes of source and result and
// needs no memory beyond the result but a little for the pattern.
std::string ReplaceText(std::string_view pattern, std::string_view source,
                        std::string_view replacement);

// True when pattern occurs in text, ASCII letters compared without regard to case (as
// ReplaceText finds it). An empty pattern never occurs.
bool ContainsText(std::string_view text, std::string_view pattern);

// How many occurrences of pattern ReplaceText replaces in text with a non-empty replacement: the
// leftmost ones, each search going on after the one found before (ASCII letters without regard
// to case). An empty pattern never occurs.
std::size_t CountText(std::string_view text, std::string_view pattern);

// A price as shown to the user: the currency sign directly before the price, no blank between.
std::string PriceDisplay(std::string_view currency, std::string_view price);

// The fill of an item or option grid row whose Description cell has just been edited: when the
// description holds text, an empty price becomes "00.00" and an empty weight "0".
void ApplyDefaultRowFill(const std::string &description, std::string &price, std::string &weight);

// The text an edited Price (pointsAllowed) or Weight cell keeps: the text itself when it passes
// IsNumberText, otherwise the default text of that column.
std::string CheckedNumberCell(std::string_view text, bool pointsAllowed);

}  // namespace vendigo
