#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

namespace vendigo::testing {

// What a finished program left: its exit status (-1 when it did not start or crashed) and
// everything it wrote.
struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs program with the arguments in folder (the current folder when empty), feeding it input.
inline ProgramRun RunProgramIn(const QString &folder, const QString &program,
                               const QStringList &arguments, const QByteArray &input = {}) {
  QProcess process;
  if (!folder.isEmpty()) process.setWorkingDirectory(folder);
  process.start(program, arguments);
  if (!process.waitForStarted()) return {};
  process.write(input);
  process.closeWriteChannel();
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

// Runs program in the current folder, feeding it input.
inline ProgramRun RunProgram(const QString &program, const QStringList &arguments,
                             const QByteArray &input = {}) {
  return RunProgramIn({}, program, arguments, input);
}

}  // namespace vendigo::testing
