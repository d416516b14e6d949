#include "dialogs/web_engine_start.h"

#include <unistd.h>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace vendigo {

void PrepareWebEngine(const char *programName) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (geteuid() != 0) return;
  if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) return;
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  std::fprintf(stderr,
               "%s: running as root, so the browser engine runs without its sandbox; "
               "run as an ordinary user to keep it.\n",
               programName);
}

}  // namespace vendigo
