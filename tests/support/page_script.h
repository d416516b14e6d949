#pragma once

#include <QTest>
#include <QWebEnginePage>
#include <memory>
#include <optional>

#include "pageeditor/rendered_view.h"

namespace vendigo::testing {

// What script evaluates to in the page the view shows; an invalid QVariant when the engine has
// not started or does not answer within timeoutMs.
inline QVariant RunScript(const RenderedView &view, const QString &script, int timeoutMs = 30000) {
  if (!view.Page()) return {};
  auto answer = std::make_shared<std::optional<QVariant>>();
  view.Page()->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
  return QTest::qWaitFor([&] { return answer->has_value(); }, timeoutMs) ? **answer : QVariant();
}

}  // namespace vendigo::testing
