#pragma once

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>
#include <optional>

#include "pageeditor/rendered_view.h"

namespace vendigo::testing {

// What script evaluates to in page; an invalid QVariant when there is no page or it does not
// answer within timeoutMs.
inline QVariant RunScript(QWebEnginePage *page, const QString &script, int timeoutMs = 30000) {
  if (!page) return {};
  auto answer = std::make_shared<std::optional<QVariant>>();
  page->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
  return QTest::qWaitFor([&] { return answer->has_value(); }, timeoutMs) ? **answer : QVariant();
}

// The same in the page the view shows (none until the engine has started).
inline QVariant RunScript(const RenderedView &view, const QString &script, int timeoutMs = 30000) {
  return RunScript(view.Page(), script, timeoutMs);
}

// Clicks the first element that selector finds as the merchant does: the mouse moves onto its
// middle (onto a link, until the engine reports it under the mouse) and its left button is pressed
// and released there, on the view's input widget. False when there is no such element.
inline bool Click(QWebEnginePage *page, const QString &selector) {
  const QVariantList at = RunScript(page, QStringLiteral(R"((() => {
      const e = document.querySelector('%1'); if (!e) return [];
      e.scrollIntoView({block: 'center'}); const r = e.getBoundingClientRect();
      return [r.x + r.width / 2, r.y + r.height / 2, !!e.closest('a[href]')]; })())")
                                              .arg(selector))
                              .toList();
  if (at.size() != 3) return false;
  QWidget *input = QWebEngineView::forPage(page)->focusProxy();
  const QPoint point(at[0].toInt(), at[1].toInt());
  QSignalSpy hovered(page, &QWebEnginePage::linkHovered);
  // Moved through the window, not by moving the pointer of the display, so the view hears of it
  // even when the pointer is already there.
  QWindow *window = input->window()->windowHandle();
  QTest::mouseMove(window, input->mapTo(input->window(), QPoint(1, 1)));
  QTest::mouseMove(window, input->mapTo(input->window(), point));
  if (at[2].toBool() && !hovered.wait(10000)) return false;
  QTest::mouseClick(input, Qt::LeftButton, {}, point);
  return true;
}

inline bool Click(const RenderedView &view, const QString &selector) {
  return Click(view.Page(), selector);
}

}  // namespace vendigo::testing
