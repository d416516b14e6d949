#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vendigo::testing {

// A test with a temporary folder for the settings, template and input files it hands to a
// program.
class FolderFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }

  // Writes the file into the folder and gives its path.
  QString WriteFile(const QString &name, const QByteArray &bytes) {
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QTemporaryDir folder;
};

}  // namespace vendigo::testing
