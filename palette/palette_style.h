#pragma once

#include <QProxyStyle>

namespace vendigo {

// The platform's style, with hints that come up soon after the mouse comes to rest.
class PaletteStyle : public QProxyStyle {
 public:
  static constexpr int kHintWakeUpDelayMs = 200;

  int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                const QWidget *widget = nullptr,
                QStyleHintReturn *returnData = nullptr) const override;
};

}  // namespace vendigo
