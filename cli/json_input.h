#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <string>
#include <vector>

namespace vendigo::cli {

// Reading the JSON input of the grid and page commands. Each refusal throws InputError with a
// message that names the key at fault; `where` names the value read ("Rows", "Options group 1
// Rows").

[[noreturn]] void Refuse(const QString &message);

// Refuses the first key of object that is not among known.
void CheckKeys(const QJsonObject &object, const QStringList &known, const QString &where);

// The text of value; "" when it is absent.
std::string Text(const QJsonValue &value, const QString &where);

// The yes/no of value; false when it is absent.
bool Flag(const QJsonValue &value, const QString &where);

// The rows of a grid: a list of at most maxRows lists of at most cells texts, each row filled up
// with empty texts to cells texts; no rows when absent. columns names the cells for the messages.
std::vector<std::vector<std::string>> Rows(const QJsonValue &value, const QString &where,
                                           std::size_t maxRows, std::size_t cells,
                                           const QString &columns);

}  // namespace vendigo::cli
