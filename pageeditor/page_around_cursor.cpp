#include "pageeditor/page_around_cursor.h"

#include <QLatin1StringView>
#include <QStringView>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace vendigo {
namespace {

bool IsOneOf(QStringView name, std::initializer_list<QLatin1StringView> names) {
  return std::any_of(names.begin(), names.end(), [name](QLatin1StringView listed) {
    return name.compare(listed, Qt::CaseInsensitive) == 0;
  });
}

bool IsNamed(QStringView name, QLatin1StringView listed) {
  return name.compare(listed, Qt::CaseInsensitive) == 0;
}

// Elements that have no content and no end tag.
bool IsVoid(QStringView name) {
  return IsOneOf(
      name, {QLatin1StringView("area"), QLatin1StringView("base"), QLatin1StringView("basefont"),
             QLatin1StringView("bgsound"), QLatin1StringView("br"), QLatin1StringView("col"),
             QLatin1StringView("embed"), QLatin1StringView("frame"), QLatin1StringView("hr"),
             QLatin1StringView("img"), QLatin1StringView("input"), QLatin1StringView("keygen"),
             QLatin1StringView("link"), QLatin1StringView("meta"), QLatin1StringView("param"),
             QLatin1StringView("source"), QLatin1StringView("track"), QLatin1StringView("wbr")});
}

// Elements whose content is text up to their end tag, tags and all.
bool HoldsText(QStringView name) {
  return IsOneOf(
      name, {QLatin1StringView("script"), QLatin1StringView("style"), QLatin1StringView("textarea"),
             QLatin1StringView("title"), QLatin1StringView("xmp"), QLatin1StringView("iframe"),
             QLatin1StringView("noembed"), QLatin1StringView("noframes"),
             QLatin1StringView("noscript"), QLatin1StringView("plaintext")});
}

// True when the start tag `next` ends the open element `open` whose end tag was left out.
bool Ends(QStringView next, QStringView open) {
  if (IsNamed(open, QLatin1StringView("p"))) {
    return IsOneOf(next, {QLatin1StringView("address"),  QLatin1StringView("article"),
                          QLatin1StringView("aside"),    QLatin1StringView("blockquote"),
                          QLatin1StringView("center"),   QLatin1StringView("details"),
                          QLatin1StringView("dialog"),   QLatin1StringView("dir"),
                          QLatin1StringView("div"),      QLatin1StringView("dl"),
                          QLatin1StringView("dd"),       QLatin1StringView("dt"),
                          QLatin1StringView("fieldset"), QLatin1StringView("figcaption"),
                          QLatin1StringView("figure"),   QLatin1StringView("footer"),
                          QLatin1StringView("form"),     QLatin1StringView("h1"),
                          QLatin1StringView("h2"),       QLatin1StringView("h3"),
                          QLatin1StringView("h4"),       QLatin1StringView("h5"),
                          QLatin1StringView("h6"),       QLatin1StringView("header"),
                          QLatin1StringView("hgroup"),   QLatin1StringView("hr"),
                          QLatin1StringView("li"),       QLatin1StringView("main"),
                          QLatin1StringView("menu"),     QLatin1StringView("nav"),
                          QLatin1StringView("ol"),       QLatin1StringView("p"),
                          QLatin1StringView("pre"),      QLatin1StringView("section"),
                          QLatin1StringView("table"),    QLatin1StringView("ul")});
  }
  if (IsNamed(open, QLatin1StringView("li"))) return IsNamed(next, QLatin1StringView("li"));
  if (IsOneOf(open, {QLatin1StringView("dt"), QLatin1StringView("dd")})) {
    return IsOneOf(next, {QLatin1StringView("dt"), QLatin1StringView("dd")});
  }
  if (IsNamed(open, QLatin1StringView("option"))) {
    return IsOneOf(next, {QLatin1StringView("option"), QLatin1StringView("optgroup")});
  }
  if (IsNamed(open, QLatin1StringView("optgroup"))) {
    return IsNamed(next, QLatin1StringView("optgroup"));
  }
  const auto sections = {QLatin1StringView("thead"), QLatin1StringView("tbody"),
                         QLatin1StringView("tfoot")};
  if (IsOneOf(open, {QLatin1StringView("td"), QLatin1StringView("th")})) {
    return IsOneOf(next,
                   {QLatin1StringView("td"), QLatin1StringView("th"), QLatin1StringView("tr")}) ||
           IsOneOf(next, sections);
  }
  if (IsNamed(open, QLatin1StringView("tr"))) {
    return IsNamed(next, QLatin1StringView("tr")) || IsOneOf(next, sections);
  }
  if (IsOneOf(open, sections)) return IsOneOf(next, sections);
  if (IsOneOf(open, {QLatin1StringView("rt"), QLatin1StringView("rp")})) {
    return IsOneOf(next, {QLatin1StringView("rt"), QLatin1StringView("rp")});
  }
  return false;
}

bool IsAsciiLetter(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsBlank(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// One piece of the source: text (a comment or a declaration counts as text), a start tag or an
// end tag.
struct Token {
  enum Kind { Text, Start, End };
  Kind kind = Text;
  qsizetype start = 0;
  qsizetype end = 0;
  QStringView name;  // of a tag
  bool selfClosing = false;
};

// The tokens of page from `from` to `to`, one at a time.
class Tokens {
 public:
  Tokens(QStringView page, qsizetype from, qsizetype to) : page_(page.first(to)), at_(from) {}

  bool Next(Token &token) {
    if (at_ >= page_.size()) return false;
    token = Token{};
    token.start = at_;
    if (!textOf_.isEmpty()) {
      token.end = EndOfText();
    } else if (page_[at_] == u'<') {
      ReadMarkup(token);
    } else {
      token.end = NextMarkup(at_);
    }
    at_ = token.end;
    if (token.kind == Token::Start && HoldsText(token.name)) textOf_ = token.name;
    return true;
  }

 private:
  // Where the next "<" that may start markup is, from `from` on.
  qsizetype NextMarkup(qsizetype from) const {
    const qsizetype found = page_.indexOf(u'<', from + 1);
    return found < 0 ? page_.size() : found;
  }

  qsizetype After(QStringView mark, qsizetype from) const {
    const qsizetype found = page_.indexOf(mark, from);
    return found < 0 ? page_.size() : found + mark.size();
  }

  // The end of the content of the element in textOf_: its end tag.
  qsizetype EndOfText() {
    const QStringView name = std::exchange(textOf_, QStringView());
    for (qsizetype from = at_;; ++from) {
      from = page_.indexOf(u"</", from);
      if (from < 0) return page_.size();
      const qsizetype after = from + 2 + name.size();
      if (after <= page_.size() &&
          page_.sliced(from + 2, name.size()).compare(name, Qt::CaseInsensitive) == 0 &&
          (after == page_.size() || IsBlank(page_[after]) || page_[after] == u'/' ||
           page_[after] == u'>')) {
        return from;
      }
    }
  }

  void ReadMarkup(Token &token) {
    const QStringView rest = page_.sliced(at_);
    if (rest.startsWith(u"<!--")) {
      token.end = After(u"-->", at_ + 4);
    } else if (rest.startsWith(u"<!") || rest.startsWith(u"<?") ||
               (rest.startsWith(u"</") && (rest.size() < 3 || !IsAsciiLetter(rest[2])))) {
      token.end = After(u">", at_ + 2);
    } else if (rest.size() > 1 && (IsAsciiLetter(rest[1]) || rest[1] == u'/')) {
      ReadTag(token);
    } else {
      token.end = NextMarkup(at_);
    }
  }

  void ReadTag(Token &token) {
    const bool end = page_[at_ + 1] == u'/';
    qsizetype i = at_ + (end ? 2 : 1);
    const qsizetype nameStart = i;
    while (i < page_.size() && !IsBlank(page_[i]) && page_[i] != u'/' && page_[i] != u'>') ++i;
    token.kind = end ? Token::End : Token::Start;
    token.name = page_.sliced(nameStart, i - nameStart);
    // A quote opens a value only after "=".
    bool afterEquals = false;
    for (; i < page_.size() && page_[i] != u'>'; ++i) {
      const QChar c = page_[i];
      if (afterEquals && (c == u'"' || c == u'\'')) {
        const qsizetype closing = page_.indexOf(c, i + 1);
        i = closing < 0 ? page_.size() - 1 : closing;
        afterEquals = false;
      } else if (c == u'=') {
        afterEquals = true;
      } else if (!IsBlank(c)) {
        afterEquals = false;
      }
    }
    token.end = std::min(i + 1, page_.size());
    token.selfClosing = token.end - at_ >= 2 && page_[token.end - 2] == u'/';
  }

  QStringView page_;
  qsizetype at_;
  QStringView textOf_;  // the element whose text comes next
};

// Where the body's content starts and ends.
struct Body {
  qsizetype start = 0;
  qsizetype end = 0;
};

Body FindBody(QStringView page) {
  Body body{-1, page.size()};
  qsizetype headEnd = 0;
  Tokens tokens(page, 0, page.size());
  for (Token token; tokens.Next(token);) {
    if (token.kind == Token::Start && body.start < 0 &&
        IsNamed(token.name, QLatin1StringView("body"))) {
      body.start = token.end;
    } else if (token.kind == Token::End && body.start < 0 &&
               IsNamed(token.name, QLatin1StringView("head"))) {
      headEnd = token.end;
    } else if (token.kind == Token::End &&
               IsOneOf(token.name, {QLatin1StringView("body"), QLatin1StringView("html")})) {
      body.end = token.start;
      break;
    }
  }
  if (body.start < 0) body.start = std::min(headEnd, body.end);
  return body;
}

// An element of the body, open around the cursor.
struct Element {
  QStringView name;
  qsizetype tagStart = 0;
  qsizetype tagEnd = 0;
  qsizetype closeStart = -1;  // where what ends it starts; -1 while open
  qsizetype closeEnd = -1;
};

// Walks the body's content keeping the open elements, and sees each place between two of its
// pieces together with how many elements are open there.
class BodyWalk {
 public:
  BodyWalk(QStringView page, const Body &body) : page_(page), body_(body) {}

  // Calls place(at, open elements) before each piece and at the body's end.
  template <typename Place>
  void Run(Place place) {
    open_.clear();
    Tokens tokens(page_, body_.start, body_.end);
    for (Token token; tokens.Next(token);) {
      // Stray html, head and body tags in the body do not nest what follows.
      if (token.kind != Token::Text &&
          IsOneOf(token.name, {QLatin1StringView("html"), QLatin1StringView("head"),
                               QLatin1StringView("body")})) {
        token.kind = Token::Text;
      }
      if (token.kind == Token::Start) {
        while (!open_.empty() && Ends(token.name, open_.back().name))
          Close(token.start, token.start);
        place(token.start, open_);
        if (!token.selfClosing && !IsVoid(token.name)) {
          open_.push_back({token.name, token.start, token.end});
        }
      } else if (token.kind == Token::End) {
        place(token.start, open_);
        const auto named = std::find_if(open_.rbegin(), open_.rend(), [&](const Element &e) {
          return e.name.compare(token.name, Qt::CaseInsensitive) == 0;
        });
        if (named != open_.rend()) {
          const std::size_t keep = open_.size() - 1 - (named - open_.rbegin());
          while (open_.size() > keep + 1) Close(token.start, token.start);
          Close(token.start, token.end);
        }
      } else {
        place(token.start, open_);
      }
    }
    place(body_.end, open_);
    while (!open_.empty()) Close(body_.end, body_.end);
  }

  // Told each element as it ends.
  std::function<void(const Element &)> closed;

 private:
  void Close(qsizetype start, qsizetype end) {
    Element element = open_.back();
    open_.pop_back();
    element.closeStart = start;
    element.closeEnd = end;
    if (closed) closed(element);
  }

  QStringView page_;
  Body body_;
  std::vector<Element> open_;
};

}  // namespace

QString PageAroundCursor(const QString &page, qsizetype cursor, qsizetype size) {
  const Body body = FindBody(page);
  cursor = std::clamp(cursor, body.start, body.end);
  BodyWalk walk(page, body);

  // The elements open at the cursor, outermost first, with where they end.
  std::vector<Element> around;
  bool passed = false;
  walk.closed = [&around](const Element &element) {
    for (Element &holding : around) {
      if (holding.tagStart == element.tagStart) holding = element;
    }
  };
  walk.Run([&](qsizetype at, const std::vector<Element> &open) {
    if (passed || at < cursor) return;
    passed = true;
    around = open;
  });

  // Cut among the children of the innermost element around the cursor that is larger than size
  // (the body's children when there is none).
  std::size_t depth = 0;
  while (depth < around.size() && around[depth].closeEnd - around[depth].tagStart > size) ++depth;
  const qsizetype first = depth == 0 ? body.start : around[depth - 1].tagEnd;
  const qsizetype last = depth == 0 ? body.end : around[depth - 1].closeStart;
  qsizetype low = cursor - size / 2;
  qsizetype high = low + size;
  if (low < first) {
    high += first - low;
    low = first;
  }
  if (high > last) {
    low = std::max(first, low - (high - last));
    high = last;
  }
  qsizetype from = first;
  qsizetype to = last;
  walk.closed = nullptr;
  walk.Run([&](qsizetype at, const std::vector<Element> &open) {
    if (open.size() != depth || at < first || at > last) return;
    if (at <= low) from = std::max(from, at);
    if (at >= high) to = std::min(to, at);
  });
  if (depth == 0 && from == body.start && to == body.end) return page;

  QString part = page.first(body.start);
  for (std::size_t i = 0; i < depth; ++i) {
    part += QStringView(page).sliced(around[i].tagStart, around[i].tagEnd - around[i].tagStart);
  }
  part += QStringView(page).sliced(from, to - from);
  for (std::size_t i = depth; i-- > 0;) part += QStringLiteral("</%1>").arg(around[i].name);
  part += QStringView(page).sliced(body.end);
  return part;
}

}  // namespace vendigo
