#pragma once

#include <string>
#include <string_view>

#include "core/settings.h"
#include "palette/palette_instance.h"

namespace vendigo {

// How the page editor asks the palette to reopen a fragment in its dialog: the method
// EditFragment(s kind, s input, s settings) -> (b accepted, s html) of the palette's interface
// (kPaletteBusName at kPaletteObjectPath). kind is the vendigo-html command that builds the
// fragment, input that command's JSON input and settings the JSON of the settings it was built
// with (SettingsJson). The answer comes when the dialog closes: true and the new HTML after OK,
// false and nothing after Cancel; the caller waits for it without a time limit.
inline constexpr char kEditFragmentMethod[] = "EditFragment";
// A dialog of Edit Fragment is open already.
inline constexpr char kPaletteBusyError[] = "org.vendigo.Palette.Error.Busy";
// The kind has no dialog, or its input is not one the dialog takes.
inline constexpr char kPaletteRefusedError[] = "org.vendigo.Palette.Error.Refused";

// True for the kinds whose dialog the palette reopens: the hidden item, the quick link, the text
// option, the option list and the addit tables. The simple elements are built from the settings
// alone, and a product page from a template that the wizard does not read back.
bool FragmentHasDialog(std::string_view kind);

// The settings as a JSON object of the settings file's keys, and back; a key that is missing or
// of another type keeps the value of fallback.
std::string SettingsJson(const Settings &settings);
Settings SettingsFromJson(std::string_view json, Settings fallback);

}  // namespace vendigo
