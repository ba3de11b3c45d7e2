// What the trainer's first start puts into a data root: the formula library beside the
// sample market, and an existing library left as it is.
#include <QTest>

#include "app/startup.h"
#include "formula_library/formula_store.h"
#include "support/temp_folder.h"

namespace vorelin {
namespace {

std::vector<std::string> CategoryNames(const std::filesystem::path& root) {
  FormulaStore store;
  std::string error;
  std::vector<FormulaCategory> categories;
  std::vector<std::string> names;
  if (!store.Open(FormulaStore::PathIn(root), error) || !store.Categories(categories, error))
    return {error};
  for (const FormulaCategory& category : categories) names.push_back(category.name);
  return names;
}

}  // namespace

class DataRootStartupTest : public QObject {
  Q_OBJECT
 private slots:
  void newRootGetsTheFormulaLibrary() {
    TempFolder folder;
    const auto root = folder.Path() / "new";
    std::string error;
    QVERIFY2(PrepareDataRoot(root, &error), error.c_str());
    QCOMPARE(CategoryNames(root),
             (std::vector<std::string>{"常用", "趋势", "摆动", "量能", "自定义"}));
  }
  void rootWithDataButNoLibraryGetsOneAndAnExistingLibraryIsKept() {
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "DayData");
    std::string error;
    QVERIFY2(PrepareDataRoot(folder.Path(), &error), error.c_str());
    QCOMPARE(CategoryNames(folder.Path()).size(), size_t{5});
    {
      FormulaStore store;
      QVERIFY(store.Open(FormulaStore::PathIn(folder.Path()), error));
      QVERIFY(store.Save({"MINE", "", "X:C;", "自定义", 1}, error));
    }
    QVERIFY2(PrepareDataRoot(folder.Path(), &error), error.c_str());
    FormulaStore store;
    QVERIFY(store.Open(FormulaStore::PathIn(folder.Path()), error));
    FormulaRow row;
    bool found = false;
    QVERIFY(store.Find("MINE", row, found, error));
    QVERIFY(found);
  }
};

}  // namespace vorelin

QTEST_MAIN(vorelin::DataRootStartupTest)
#include "data_root_startup_test.moc"
