#include "check/page_orders.h"

#include <algorithm>
#include <map>
#include <optional>

#include "basket/form_fields.h"
#include "core/text_encoding.h"
#include "html/html_document.h"

namespace vendigo {
namespace {

constexpr std::size_t kNoNode = HtmlNode::kNoNode;
constexpr std::string_view kTestCartPort = "8765";

// AddressWithoutQuery as a view into the address.
std::string_view AddressPart(std::string_view address) {
  address = TrimHtmlSpace(address);
  // Two searches for one byte each: find_first_of tries the set at every byte.
  return address.substr(0, std::min(address.find('?'), address.find('#')));
}

// The type of an input as a browser takes it: an unknown or missing type is text.
std::string InputType(const HtmlNode &input) {
  static const char *const kTypes[] = {
      "hidden", "text",  "search",         "tel",    "url",   "email", "password", "date",  "month",
      "week",   "time",  "datetime-local", "number", "range", "color", "checkbox", "radio", "file",
      "submit", "image", "reset",          "button"};
  const std::string type = AsciiLowered(TrimHtmlSpace(input.Value("type")));
  for (const char *known : kTypes) {
    if (type == known) return type;
  }
  return "text";
}

bool BlocksImplicitSubmission(const std::string &type) {
  static const char *const kTypes[] = {"text",           "search", "url",   "tel",  "email",
                                       "password",       "date",   "month", "week", "time",
                                       "datetime-local", "number"};
  return std::find_if(std::begin(kTypes), std::end(kTypes),
                      [&](const char *t) { return type == t; }) != std::end(kTypes);
}

bool IsSubmitButton(const HtmlNode &control) {
  if (control.tag == "input") {
    const std::string type = InputType(control);
    return type == "submit" || type == "image";
  }
  if (control.tag == "button") {
    const std::string type = AsciiLowered(TrimHtmlSpace(control.Value("type")));
    return type != "reset" && type != "button";
  }
  return false;
}

class OrderFinder {
 public:
  OrderFinder(const HtmlDocument &document, const Settings &settings)
      : document_(document), settings_(settings), nodes_(document.Nodes()) {}

  PageOrders Find() {
    PageOrders result;
    FindControls(result);
    for (const std::size_t form : result.forms) AddFormOrders(form, result);
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      const HtmlNode &node = nodes_[i];
      if (!(node.IsElement("a") || node.IsElement("area"))) continue;
      const HtmlAttribute *href = node.Attribute("href");
      if (!href || !IsCartAddress(href->value, settings_) || InTemplate(i)) continue;
      FoundOrder found;
      found.order = {"link", href->value, "get", {}};
      found.node = i;
      found.addressOffset = href->valueOffset;
      found.link = true;
      found.hasAddress = true;
      const std::string_view address = href->value;
      const std::size_t question = address.find('?');
      if (question != std::string_view::npos) {
        const std::string_view query =
            address.substr(question + 1, address.find('#', question) - question - 1);
        for (FormField &field : ParseFormFields(query)) {
          found.order.fields.push_back({std::move(field.name), std::move(field.value)});
          found.fieldNodes.push_back(i);
          found.fieldOffsets.push_back(href->valueOffset);
        }
      }
      result.orders.push_back(std::move(found));
    }
    return result;
  }

 private:
  bool InTemplate(std::size_t node) const {
    return document_.Ancestor(node, "template") != kNoNode;
  }

  void FindControls(PageOrders &result) {
    std::map<std::string, std::size_t> ids;  // the first element of each id
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      const HtmlNode &node = nodes_[i];
      if (node.kind != HtmlNodeKind::Element) continue;
      if (const HtmlAttribute *id = node.Attribute("id")) ids.emplace(id->value, i);
      if (node.tag == "form" && !InTemplate(i)) result.forms.push_back(i);
    }
    // Where "</form" is written: the parser forgets its open form there, and not before, even
    // when the form element itself was closed early (a form opened inside a table).
    std::vector<std::size_t> formEnds;
    const std::string &text = document_.Text();
    for (std::size_t at = text.find("</"); at != std::string::npos; at = text.find("</", at + 2)) {
      if (at + 6 <= text.size() &&
          AsciiLowered(std::string_view(text).substr(at + 2, 4)) == "form") {
        formEnds.push_back(at);
      }
    }
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      const HtmlNode &node = nodes_[i];
      if (node.kind != HtmlNodeKind::Element) continue;
      if (node.tag != "input" && node.tag != "select" && node.tag != "textarea" &&
          node.tag != "button") {
        continue;
      }
      if (InTemplate(i)) continue;
      FormControl control{i, kNoNode};
      if (const HtmlAttribute *formId = node.Attribute("form")) {
        const auto found = ids.find(formId->value);
        if (found != ids.end() && nodes_[found->second].IsElement("form")) {
          control.form = found->second;
        }
      } else if (const std::size_t form = document_.Ancestor(i, "form"); form != kNoNode) {
        control.form = form;
      } else {
        control.form = OpenFormAt(node.offset, result.forms, formEnds);
      }
      result.controls.push_back(control);
    }
  }

  // The form the parser had open at offset: the last one begun before it with no "</form" in
  // between.
  std::size_t OpenFormAt(std::size_t offset, const std::vector<std::size_t> &forms,
                         const std::vector<std::size_t> &formEnds) const {
    std::size_t open = kNoNode;
    for (const std::size_t form : forms) {
      if (nodes_[form].written && nodes_[form].offset < offset) open = form;
    }
    if (open == kNoNode) return kNoNode;
    const auto end = std::upper_bound(formEnds.begin(), formEnds.end(), nodes_[open].offset);
    return end != formEnds.end() && *end < offset ? kNoNode : open;
  }

  bool IsDisabled(std::size_t control) const {
    if (nodes_[control].Has("disabled")) return true;
    for (std::size_t at = nodes_[control].parent; at != kNoNode; at = nodes_[at].parent) {
      if (!nodes_[at].IsElement("fieldset") || !nodes_[at].Has("disabled")) continue;
      // The fieldset's first legend stays enabled.
      std::size_t legend = kNoNode;
      for (const std::size_t child : document_.Children(at)) {
        if (nodes_[child].IsElement("legend")) {
          legend = child;
          break;
        }
      }
      if (legend == kNoNode || control < legend || control >= nodes_[legend].end) return true;
    }
    return false;
  }

  // The options of a select in order, with those in its optgroups.
  std::vector<std::size_t> Options(std::size_t select) const {
    std::vector<std::size_t> options;
    for (const std::size_t child : document_.Children(select)) {
      if (nodes_[child].IsElement("option")) {
        options.push_back(child);
      } else if (nodes_[child].IsElement("optgroup")) {
        for (const std::size_t inner : document_.Children(child)) {
          if (nodes_[inner].IsElement("option")) options.push_back(inner);
        }
      }
    }
    return options;
  }

  // The options a select sends as the page stands.
  std::vector<std::size_t> SelectedOptions(std::size_t select) const {
    const HtmlNode &node = nodes_[select];
    const bool multiple = node.Has("multiple");
    const std::vector<std::size_t> options = Options(select);
    std::vector<std::size_t> selected;
    for (const std::size_t option : options) {
      if (!nodes_[option].Has("selected")) continue;
      if (!multiple) selected.clear();  // the last one marked wins
      selected.push_back(option);
    }
    std::size_t size = 0;
    const std::string sizeText(TrimHtmlSpace(node.Value("size")));
    for (const char c : sizeText) {
      if (!IsAsciiDigit(c) || size > 100000) {
        size = 0;
        break;
      }
      size = size * 10 + static_cast<std::size_t>(c - '0');
    }
    if (size == 0) size = multiple ? 4 : 1;
    if (selected.empty() && !multiple && size == 1) {
      for (const std::size_t option : options) {
        if (!OptionDisabled(option)) {
          selected.push_back(option);
          break;
        }
      }
    }
    std::erase_if(selected, [&](std::size_t option) { return OptionDisabled(option); });
    return selected;
  }

  bool OptionDisabled(std::size_t option) const {
    const std::size_t parent = nodes_[option].parent;
    return nodes_[option].Has("disabled") ||
           (parent != kNoNode && nodes_[parent].IsElement("optgroup") &&
            nodes_[parent].Has("disabled"));
  }

  static std::size_t ValuePlace(const HtmlNode &node) {
    const HtmlAttribute *value = node.Attribute("value");
    return value ? value->valueOffset : node.offset;
  }

  struct FormFields {
    std::vector<SentField> fields;
    std::vector<std::size_t> nodes;
    std::vector<std::size_t> offsets;
    void Add(std::string name, std::string value, std::size_t node, std::size_t offset) {
      fields.push_back({std::move(name), std::move(value)});
      nodes.push_back(node);
      offsets.push_back(offset);
    }
  };

  // The radios of the form that are checked: the last one marked in each group.
  std::vector<std::size_t> CheckedRadios(const std::vector<std::size_t> &controls) const {
    std::map<std::string, std::size_t> checked;
    for (const std::size_t control : controls) {
      const HtmlNode &node = nodes_[control];
      if (node.tag == "input" && InputType(node) == "radio" && node.Has("checked")) {
        checked[node.Value("name")] = control;
      }
    }
    std::vector<std::size_t> radios;
    for (const auto &[name, control] : checked) radios.push_back(control);
    return radios;
  }

  FormFields Fields(const std::vector<std::size_t> &controls, std::size_t submitter,
                    const std::vector<std::size_t> &checkedRadios) const {
    FormFields sent;
    for (const std::size_t control : controls) {
      const HtmlNode &node = nodes_[control];
      if (IsDisabled(control)) continue;
      const std::string name = node.Value("name");
      if (node.tag == "input") {
        const std::string type = InputType(node);
        if (type == "image") {
          if (control != submitter) continue;
          const std::string prefix = name.empty() ? "" : name + ".";
          sent.Add(prefix + "x", "0", control, node.offset);
          sent.Add(prefix + "y", "0", control, node.offset);
          continue;
        }
        if (name.empty() || type == "reset" || type == "button") continue;
        if (type == "submit" && control != submitter) continue;
        if (type == "checkbox" && !node.Has("checked")) continue;
        if (type == "radio" &&
            std::find(checkedRadios.begin(), checkedRadios.end(), control) == checkedRadios.end()) {
          continue;
        }
        std::string value = node.Value("value");
        if ((type == "checkbox" || type == "radio") && !node.Has("value")) value = "on";
        if (type == "file") value.clear();
        if (type != "hidden" && type != "checkbox" && type != "radio" && type != "submit") {
          std::erase_if(value, [](char c) { return c == '\r' || c == '\n'; });
        }
        sent.Add(name, std::move(value), control, ValuePlace(node));
      } else if (node.tag == "button") {
        if (control == submitter && !name.empty()) {
          sent.Add(name, node.Value("value"), control, ValuePlace(node));
        }
      } else if (node.tag == "select") {
        if (name.empty()) continue;
        for (const std::size_t option : SelectedOptions(control)) {
          const HtmlNode &chosen = nodes_[option];
          sent.Add(name,
                   chosen.Has("value") ? chosen.Value("value")
                                       : CollapseWhitespace(document_.TextOf(option)),
                   control, ValuePlace(chosen));
        }
      } else if (node.tag == "textarea") {
        if (name.empty()) continue;
        // Line breaks are sent as CR LF.
        std::string value;
        const std::string text = document_.TextOf(control);
        for (std::size_t i = 0; i < text.size(); ++i) {
          if (text[i] == '\r' || text[i] == '\n') {
            value += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
          } else {
            value += text[i];
          }
        }
        sent.Add(name, std::move(value), control, node.offset);
      }
    }
    return sent;
  }

  std::string ButtonCaption(std::size_t button) const {
    const HtmlNode &node = nodes_[button];
    if (node.tag == "button") return CollapseWhitespace(document_.TextOf(button));
    if (InputType(node) == "image") {
      if (node.Has("alt")) return node.Value("alt");
      return node.Has("name") ? node.Value("name") : "image";
    }
    return node.Has("value") ? node.Value("value") : "Submit";
  }

  void AddFormOrders(std::size_t form, PageOrders &result) const {
    std::vector<std::size_t> controls;
    for (const FormControl &control : result.controls) {
      if (control.form == form) controls.push_back(control.node);
    }
    const std::vector<std::size_t> radios = CheckedRadios(controls);
    std::vector<std::size_t> buttons;
    std::vector<std::size_t> textFields;
    std::size_t blocking = 0;
    // The first submit button is the form's default: Enter clicks it, and sends nothing while it
    // is disabled.
    std::size_t defaultButton = kNoNode;
    for (const std::size_t control : controls) {
      const HtmlNode &node = nodes_[control];
      if (IsSubmitButton(node)) {
        if (defaultButton == kNoNode) defaultButton = control;
        if (!IsDisabled(control)) buttons.push_back(control);
      } else if (node.tag == "input" && BlocksImplicitSubmission(InputType(node))) {
        ++blocking;
        if (!IsDisabled(control)) textFields.push_back(control);
      }
    }
    const HtmlNode &formNode = nodes_[form];
    auto add = [&](std::string way, std::size_t submitter) {
      FoundOrder found;
      found.node = form;
      const HtmlNode *button = submitter == kNoNode ? nullptr : &nodes_[submitter];
      const HtmlAttribute *action = button && button->Has("formaction")
                                        ? button->Attribute("formaction")
                                        : formNode.Attribute("action");
      const std::string method = AsciiLowered(TrimHtmlSpace(button && button->Has("formmethod")
                                                                ? button->Value("formmethod")
                                                                : formNode.Value("method")));
      found.hasAddress = action != nullptr;
      found.addressOffset = action ? action->valueOffset : formNode.offset;
      FormFields sent = Fields(controls, submitter, radios);
      found.order = {std::move(way), action ? action->value : "", method == "post" ? "post" : "get",
                     std::move(sent.fields)};
      found.fieldNodes = std::move(sent.nodes);
      found.fieldOffsets = std::move(sent.offsets);
      result.orders.push_back(std::move(found));
    };
    for (const std::size_t button : buttons)
      add("button \"" + ButtonCaption(button) + "\"", button);
    if (defaultButton != kNoNode && buttons.empty()) result.switchedOff.push_back(form);
    const bool enterSends = defaultButton != kNoNode ? !IsDisabled(defaultButton) : blocking == 1;
    // Enter in any text field sends the same: it is listed once, in the first. (One order per
    // field would make a table of many quantity boxes cost the square of its rows.)
    if (enterSends && !textFields.empty()) {
      add("Enter in \"" + nodes_[textFields.front()].Value("name") + "\"", defaultButton);
    }
  }

  const HtmlDocument &document_;
  const Settings &settings_;
  const std::vector<HtmlNode> &nodes_;
};

}  // namespace

bool IsOrderFieldName(std::string_view name) {
  return name == "pelluxadd" || name == "addit" || name == "quantity" ||
         name.starts_with("pelluxqa_") || name.starts_with("eop_") || name.starts_with("textadd_");
}

std::string AddressWithoutQuery(std::string_view address) {
  return std::string(AddressPart(address));
}

bool IsTestCartAddress(std::string_view address) {
  const std::string lower = AsciiLowered(AddressWithoutQuery(address));
  const std::size_t scheme = lower.find("://");
  if (scheme == std::string::npos) return false;
  const std::string_view rest = std::string_view(lower).substr(scheme + 3);
  const std::string_view authority = rest.substr(0, rest.find('/'));
  const std::size_t colon = authority.rfind(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view host = authority.substr(0, colon);
  return (host == "127.0.0.1" || host == "localhost") &&
         authority.substr(colon + 1) == kTestCartPort;
}

bool IsCartAddress(std::string_view address, const Settings &settings) {
  // Views and a prompt made once: the fragment readers ask this of every link.
  const std::string_view plain = AddressPart(address);
  if (plain.empty()) return false;
  const std::string_view cgiBin = AddressPart(settings.CGI_BIN);
  static const std::string prompt = DefaultSettings().CGI_BIN;
  if (plain == cgiBin || plain == prompt || IsTestCartAddress(plain)) return true;
  const std::string lower = AsciiLowered(plain);
  if (lower.ends_with("pellux.cgi") || lower.ends_with("pellux.exe")) return true;
  if (cgiBin == prompt) return false;
  const std::string program = AsciiLowered(cgiBin.substr(cgiBin.rfind('/') + 1));
  return !program.empty() && program != cgiBin && lower.ends_with("/" + program);
}

bool GoesToCart(const FoundOrder &order, const Settings &settings) {
  if (order.link || IsCartAddress(order.order.action, settings)) return true;
  return std::any_of(order.order.fields.begin(), order.order.fields.end(),
                     [](const SentField &field) { return IsOrderFieldName(field.name); });
}

bool IsTypedControl(const HtmlNode &control) {
  if (control.tag == "textarea") return true;
  if (control.tag != "input") return false;
  const std::string type = InputType(control);
  return BlocksImplicitSubmission(type) || type == "range" || type == "color" || type == "file";
}

PageOrders FindPageOrders(const HtmlDocument &document, const Settings &settings) {
  return OrderFinder(document, settings).Find();
}

std::string EncodeFormFields(const std::vector<SentField> &fields) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  auto encode = [&](std::string_view text) {
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || IsAsciiDigit(c) ||
          c == '*' || c == '-' || c == '.' || c == '_') {
        encoded += c;
      } else if (c == ' ') {
        encoded += '+';
      } else {
        encoded += '%';
        encoded += kHex[byte >> 4];
        encoded += kHex[byte & 15];
      }
    }
  };
  for (const SentField &field : fields) {
    if (!encoded.empty()) encoded += '&';
    encode(field.name);
    encoded += '=';
    encode(field.value);
  }
  return encoded;
}

}  // namespace vendigo
