#pragma once

#include <QRandomGenerator>
#include <QtGlobal>

namespace vendigo::testing {

// The seed of a test's random choices, printed so a failed run can be repeated: the value of
// VENDIGO_STRESS_SEED when set, a new one otherwise.
inline quint32 StressSeed() {
  bool given = false;
  quint32 seed = qEnvironmentVariableIntValue("VENDIGO_STRESS_SEED", &given);
  if (!given) seed = QRandomGenerator::global()->bounded(1u << 30);
  qInfo("seed %u (VENDIGO_STRESS_SEED=%u repeats this run)", seed, seed);
  return seed;
}

}  // namespace vendigo::testing
