#include "palette/palette_style.h"

namespace vendigo {

int PaletteStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                            QStyleHintReturn *returnData) const {
  if (hint == SH_ToolTip_WakeUpDelay) return kHintWakeUpDelayMs;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace vendigo
