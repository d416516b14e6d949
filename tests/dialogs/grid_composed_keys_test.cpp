// Characters composed by an input method (dead keys, compose sequences) reach the builder grids'
// cells through the same filter as typed keys, whichever widget the composition goes to.

#include <QInputMethodEvent>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/addit_dialog.h"
#include "dialogs/extended_option_dialog.h"
#include "dialogs/string_grid.h"
#include "support/dialog_world.h"

namespace vendigo {
namespace {

using testing::Child;
using testing::DialogWorld;

// Opens a builder dialog in world and gives its grid.
using OpenGrid = std::function<StringGrid *(DialogWorld &world)>;

template <typename Dialog>
StringGrid *Open(DialogWorld &world) {
  return Child<StringGrid>(world.Open<Dialog>(), "RadioGrid1");
}

void Compose(QWidget *target, const QString &text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QCoreApplication::sendEvent(target, &event);
}

}  // namespace

class GridComposedKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void ComposedCharactersAreFiltered();
};

void GridComposedKeysTest::ComposedCharactersAreFiltered() {
  struct Case {
    const char *name;
    OpenGrid open;
    QString composed;
    QString kept;
    std::size_t refused;
  };
  const std::vector<Case> cases = {
      {"option grid, circumflex", Open<TPelluxOptionsBuilder>, "^", "", 1},
      {"option grid, double quote", Open<TPelluxOptionsBuilder>, "\"", "", 1},
      {"option grid, e circumflex", Open<TPelluxOptionsBuilder>, "\u00ea", "\u00ea", 0},
      {"addit grid, circumflex and more", Open<TAddBuilder>, "a^b", "ab", 1},
      {"addit grid, double quote", Open<TAddBuilder>, "\"", "\"", 0},
  };
  for (const Case &c : cases) {
    for (const bool toTheGrid : {false, true}) {
      DialogWorld world;
      StringGrid *grid = c.open(world);
      QVERIFY2(grid->CellEditor(), c.name);
      Compose(toTheGrid ? static_cast<QWidget *>(grid) : grid->CellEditor(), c.composed);
      QVERIFY2(grid->Cell(0, 1) == c.kept, c.name);
      QVERIFY2(world.messages.events.size() == c.refused, c.name);
    }
  }
}

}  // namespace vendigo

QTEST_MAIN(vendigo::GridComposedKeysTest)
#include "grid_composed_keys_test.moc"
