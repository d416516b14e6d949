#include "cli/json_input.h"

#include <QJsonArray>

#include <utility>

#include "cli/cli_commands.h"

namespace vendigo::cli {

void Refuse(const QString &message) {
  throw InputError(message.toStdString());
}

void CheckKeys(const QJsonObject &object, const QStringList &known, const QString &where) {
  for (const QString &key : object.keys()) {
    if (!known.contains(key)) {
      Refuse(QStringLiteral("unknown key '%1' in %2; the keys are %3")
                 .arg(key, where, known.join(QStringLiteral(", "))));
    }
  }
}

std::string Text(const QJsonValue &value, const QString &where) {
  if (value.isUndefined()) return "";
  if (!value.isString()) Refuse(QStringLiteral("%1 must be a text").arg(where));
  return value.toString().toStdString();
}

bool Flag(const QJsonValue &value, const QString &where) {
  if (value.isUndefined()) return false;
  if (!value.isBool()) Refuse(QStringLiteral("%1 must be true or false").arg(where));
  return value.toBool();
}

std::vector<std::vector<std::string>> Rows(const QJsonValue &value, const QString &where,
                                           std::size_t maxRows, std::size_t cells,
                                           const QString &columns) {
  std::vector<std::vector<std::string>> rows;
  if (value.isUndefined()) return rows;
  if (!value.isArray()) Refuse(QStringLiteral("%1 must be a list of rows").arg(where));
  const QJsonArray array = value.toArray();
  if (static_cast<std::size_t>(array.size()) > maxRows) {
    Refuse(QStringLiteral("%1 has %2 rows; the grid has %3")
               .arg(where)
               .arg(array.size())
               .arg(maxRows));
  }
  for (qsizetype r = 0; r < array.size(); ++r) {
    const QString rowName = QStringLiteral("%1 row %2").arg(where).arg(r + 1);
    if (!array[r].isArray()) {
      Refuse(QStringLiteral("%1 must be a list of up to %2 texts (%3)")
                 .arg(rowName)
                 .arg(cells)
                 .arg(columns));
    }
    const QJsonArray row = array[r].toArray();
    if (static_cast<std::size_t>(row.size()) > cells) {
      Refuse(QStringLiteral("%1 has %2 cells; a row has at most %3 (%4)")
                 .arg(rowName)
                 .arg(row.size())
                 .arg(cells)
                 .arg(columns));
    }
    std::vector<std::string> texts(cells);
    for (qsizetype c = 0; c < row.size(); ++c) {
      texts[static_cast<std::size_t>(c)] =
          Text(row[c], QStringLiteral("%1 cell %2").arg(rowName).arg(c + 1));
    }
    rows.push_back(std::move(texts));
  }
  return rows;
}

}  // namespace vendigo::cli
