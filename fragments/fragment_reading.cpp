#include "fragments/fragment_reading.h"

#include <algorithm>
#include <optional>

#include "builders/addit_table_reading.h"
#include "builders/extended_option_reading.h"
#include "builders/hidden_item_reading.h"
#include "builders/quick_link_reading.h"
#include "builders/simple_elements_reading.h"
#include "builders/text_option_reading.h"
#include "core/text_encoding.h"
#include "fragments/fragment_inputs.h"
#include "html/markup_scanner.h"

namespace vendigo {

namespace {

constexpr std::size_t kNpos = std::string_view::npos;

// Where the offsets of the text read lie in the file, walked forward only: the page is read as
// UTF-8 when it is valid UTF-8 and decoded from Windows-1252 otherwise, one file byte to each
// character then. A line ends at "\r\n", "\r" or "\n"; each character is one column.
class PlaceWalker {
 public:
  PlaceWalker(std::string_view text, bool windows1252) : text_(text), windows1252_(windows1252) {
    // A UTF-8 byte order mark takes no column.
    if (!windows1252 && text.starts_with("\xEF\xBB\xBF")) {
      offset_ = 3;
      place_.offset = 3;
    }
  }

  SourcePlace At(std::size_t offset) {
    offset = std::min(offset, text_.size());
    if (offset <= offset_) return place_;
    std::string_view span = text_.substr(offset_, offset - offset_);
    place_.offset += windows1252_ ? Characters(span) : span.size();
    std::size_t lineStart = std::string_view::npos;
    for (std::size_t at = 0; at < span.size(); ++at) {
      const char c = span[at];
      if (c != '\n' && c != '\r') continue;
      // "\r\n" is one line break, counted at its "\n".
      if (c == '\r' && offset_ + at + 1 < text_.size() && text_[offset_ + at + 1] == '\n') continue;
      ++place_.line;
      lineStart = at + 1;
    }
    if (lineStart != std::string_view::npos) {
      place_.column = 1;
      span.remove_prefix(lineStart);
    }
    place_.column += static_cast<int>(Characters(span));
    // The "\r" of a "\r\n" takes no column.
    if (span.ends_with('\r') && offset < text_.size() && text_[offset] == '\n') --place_.column;
    offset_ = offset;
    return place_;
  }

  // The file offset of a text offset at or after the last one walked to, without walking there:
  // the lines of a fragment's bytes are counted only on the way to the next one.
  std::size_t FileOffset(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    if (offset <= offset_) return place_.offset;
    if (!windows1252_) return offset;
    return place_.offset + Characters(text_.substr(offset_, offset - offset_));
  }

 private:
  // The characters of well-formed UTF-8: the bytes that are no continuation bytes.
  static std::size_t Characters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
  }

  std::string_view text_;
  bool windows1252_;
  std::size_t offset_ = 0;
  SourcePlace place_;
};

// Appends the reader's fragment to fragments: its values as its command's JSON input, the settings
// given with what its bytes show, its offsets still those of the text read. False when the reader
// found none.
template <typename Values, typename ToInput>
bool Taken(const char *kind, FragmentRead<Values> &&read, ToInput toInput, const Settings &settings,
           std::vector<FoundFragment> &fragments) {
  if (!read) return false;
  FoundFragment &found = fragments.emplace_back();
  found.kind = kind;
  found.start.offset = read.start;
  found.end = read.end;
  found.input = toInput(std::move(read.values));
  found.settings = settings;
  read.shown.Into(found.settings);
  return true;
}

nlohmann::json NoInput(NoValues &&) {
  return nlohmann::json::object();
}

// The fragment whose tag or comment begins at place.at, if any, appended to fragments. A form is
// a form container only when it holds nothing but its paragraph, so the eBay form and the product
// interface, which hold more, are never taken for one.
bool ReadAt(ReadPlace place, const Settings &settings, std::vector<FoundFragment> &fragments) {
  const auto take = [&](const char *kind, auto &&read, auto toInput) {
    return Taken(kind, std::move(read), toInput, settings, fragments);
  };
  const std::string_view text = place.text;
  if (text.substr(place.at, 4) == "<!--") {
    return take("pelluxadd", ReadHiddenItem(place), HiddenItemInput);
  }
  const std::string &ownButton = settings.OrderButton;
  if (ownButton.size() >= 2 && ownButton.front() == '<' &&
      text.substr(place.at, ownButton.size()) == ownButton) {
    return take("buybutton", ReadBuyButton(place, settings), NoInput);
  }
  const std::optional<RawTag> tag = ReadRawTag(text, place.at);
  if (!tag || tag->endTag) return false;
  place.tag = &*tag;
  if (tag->Is("form")) {
    return take("form", ReadFormContainer(place), NoInput) ||
           take("ebay", ReadEbayForm(place), NoInput) ||
           take("addit", ReadAddItTable(place), AddItTableInput);
  }
  if (tag->Is("center")) return take("addit", ReadAddItTable(place), AddItTableInput);
  if (tag->Is("select")) {
    if (tag->Value("name") == "addit") return take("addit", ReadAddItTable(place), AddItTableInput);
    return take("options", ReadExtendedOption(place), ExtendedOptionInput);
  }
  if (tag->Is("input")) {
    const std::string_view name = tag->Value("name");
    if (StartsWithNoCase(name, "textadd_")) {
      return take("textadd", ReadTextOption(place), TextOptionInput);
    }
    if (name == "quantity") return take("quantity", ReadQuantityBox(place), NoInput);
    return take("buybutton", ReadBuyButton(place, settings), NoInput);
  }
  if (tag->Is("a")) {
    if (tag->Value("href").find("?pelluxadd=") != kNpos) {
      return take("quicklink", ReadQuickLink(place), QuickLinkInput);
    }
    return take("viewcart", ReadViewCartLink(place, settings), NoInput);
  }
  return false;
}

// Where reading goes on after a tag that is no fragment: past a comment, and past the content of
// an element whose content is no markup (a script's strings hold no fragments); otherwise at the
// next "<", even inside the tag: a "<" typed into a caption may look like a tag that swallows
// the fragment after it.
std::size_t AfterNonFragment(std::string_view text, std::size_t at) {
  if (text.substr(at, 4) == "<!--") {
    const std::size_t close = text.find("-->", at + 4);
    return close == kNpos ? text.size() : close + 3;
  }
  for (const std::string_view name : {"script", "style", "textarea", "title"}) {
    if (StartsWithNoCase(text.substr(at + 1), name)) {
      const std::size_t after = at + 1 + name.size();
      if (after < text.size() && (IsHtmlSpace(text[after]) || text[after] == '>')) {
        const std::size_t close = FindNoCase(text, std::string("</") + std::string(name), after);
        return close == kNpos ? text.size() : close;
      }
    }
  }
  return at + 1;
}

}  // namespace

std::vector<FoundFragment> ReadFragments(std::string_view pageBytes, const Settings &settings) {
  const bool windows1252 = !IsValidUtf8(pageBytes);
  const std::string decoded = windows1252 ? Windows1252ToUtf8(pageBytes) : std::string();
  const std::string_view text = windows1252 ? std::string_view(decoded) : pageBytes;
  PlaceWalker walker(text, windows1252);
  std::vector<FoundFragment> fragments;
  std::size_t earliest = 0;
  for (std::size_t at = text.find('<'); at != kNpos;) {
    std::size_t next;
    if (ReadAt({text, at, earliest}, settings, fragments)) {
      FoundFragment &found = fragments.back();
      earliest = found.end;
      next = found.end;
      found.start = walker.At(found.start.offset);
      found.end = walker.FileOffset(found.end);
    } else {
      next = AfterNonFragment(text, at);
    }
    at = next < text.size() ? text.find('<', next) : kNpos;
  }
  return fragments;
}

const FoundFragment *FragmentAt(const std::vector<FoundFragment> &fragments, std::size_t offset) {
  const auto after = std::upper_bound(fragments.begin(), fragments.end(), offset,
                                      [](std::size_t value, const FoundFragment &fragment) {
                                        return value < fragment.start.offset;
                                      });
  if (after == fragments.begin()) return nullptr;
  const FoundFragment &fragment = *std::prev(after);
  return offset < fragment.end ? &fragment : nullptr;
}

}  // namespace vendigo
