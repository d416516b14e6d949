#pragma once

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>
#include <optional>

#include "pageeditor/rendered_view.h"

namespace vendigo::testing {

// What script evaluates to in page; an invalid QVariant when there is no page (the view's engine
// has not started) or it does not answer within timeoutMs.
inline QVariant RunScript(QWebEnginePage *page, const QString &script, int timeoutMs = 30000) {
  if (!page) return {};
  auto answer = std::make_shared<std::optional<QVariant>>();
  page->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
  return QTest::qWaitFor([&] { return answer->has_value(); }, timeoutMs) ? **answer : QVariant();
}
inline QVariant RunScript(const RenderedView &view, const QString &script, int timeoutMs = 30000) {
  return RunScript(view.Page(), script, timeoutMs);
}

// Clicks the element that selector finds as the merchant does: the mouse goes onto its middle
// (through the window, so it counts even where the display's pointer already is; onto a link,
// until the engine reports it under the mouse), and its left button clicks on the view's input.
inline bool Click(QWebEnginePage *page, const QString &selector) {
  const QString middle = QStringLiteral(
      "(e => { e.scrollIntoView(); const r = e.getBoundingClientRect();"
      " return [r.x + r.width / 2, r.y + r.height / 2, !!e.closest('a')]; })"
      "(document.querySelector('%1'))");
  const QVariantList at = RunScript(page, middle.arg(selector)).toList();
  QWidget *input = QWebEngineView::forPage(page)->focusProxy();
  QSignalSpy hovered(page, &QWebEnginePage::linkHovered);
  if (at.size() != 3) return false;
  const QPoint point(at[0].toInt(), at[1].toInt());
  for (const QPoint to : {QPoint(1, 1), point})
    QTest::mouseMove(input->window()->windowHandle(), input->mapTo(input->window(), to));
  if (at[2].toBool() && !hovered.wait(10000)) return false;
  QTest::mouseClick(input, Qt::LeftButton, {}, point);
  return true;
}
inline bool Click(const RenderedView &view, const QString &selector) {
  return Click(view.Page(), selector);
}

}  // namespace vendigo::testing
