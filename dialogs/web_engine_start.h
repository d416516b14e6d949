#pragma once

namespace vendigo {

// Prepares Qt WebEngine before the QApplication is made: its views share one OpenGL context,
// and a program run as root switches the engine's sandbox off (Chromium refuses to start as
// root with it on), saying so once on standard error. programName starts that line.
void PrepareWebEngine(const char *programName);

}  // namespace vendigo
