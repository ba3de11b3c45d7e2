// The user's formula library "Stock.Bin": categories and formulas in two SQLite tables whose
// names and columns other tools read too. Every name and text reaches SQL as a bound
// parameter, so quotes in names are safe.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

class SqliteDatabase;

inline constexpr const char* kFormulaStoreFileName = "Stock.Bin";
inline constexpr const char* kMissingStoreMessage = "数据库丢失!";
// The tree finds a formula by its node text up to the first blank, so a name has none.
inline constexpr const char* kNameWithBlankMessage = "公式名称不能包含空格!";

// One row of [公式分类]; only kind 1 is shown.
struct FormulaCategory {
  std::string name;  // 名称
  int kind = 1;      // 分类
  int order = 0;     // 序号
};

// One row of [公式库].
struct FormulaRow {
  std::string name;         // 名称, upper case once saved
  std::string description;  // 描述
  std::string text;         // 内容, lines separated by CR LF
  std::string category;     // 分类名称
  int type = 1;             // 类型; every row written here has 1
};

class FormulaStore {
 public:
  FormulaStore();
  ~FormulaStore();
  FormulaStore(const FormulaStore&) = delete;
  FormulaStore& operator=(const FormulaStore&) = delete;

  // The store's file in a data root.
  static std::filesystem::path PathIn(const std::filesystem::path& root);

  // Creates the file with its two tables, the default categories and the example formulas
  // when it does not exist; an existing file is left as it is. False with `error` set (and
  // no half-made file left) when it cannot be written.
  static bool CreateWithDefaults(const std::filesystem::path& path, std::string& error);

  // Opens an existing store. A missing file gives false with kMissingStoreMessage; other
  // failures give SQLite's text. The store stays closed on failure.
  bool Open(const std::filesystem::path& path, std::string& error);
  bool IsOpen() const { return db_ != nullptr; }

  // The categories of kind 1, by 序号 ascending.
  bool Categories(std::vector<FormulaCategory>& categories, std::string& error);
  // The formulas whose 分类名称 is `category`, in the order the table returns them.
  bool FormulasOf(std::string_view category, std::vector<FormulaRow>& rows, std::string& error);
  // The row of that exact name. `found` false (row unchanged) when there is none.
  bool Find(std::string_view name, FormulaRow& row, bool& found, std::string& error);
  // Updates the row of the trimmed, upper-cased name, or inserts one; 类型 is written as 1.
  // A name that is empty or holds a blank is refused (kNameWithBlankMessage for a blank).
  bool Save(const FormulaRow& row, std::string& error);
  // Deletes the rows of that exact name (none is no error).
  bool Remove(std::string_view name, std::string& error);

 private:
  std::unique_ptr<SqliteDatabase> db_;
};

// "公式库中没有公式:" + name
std::string MissingLibraryFormulaMessage(std::string_view name);

// The name a formula is saved under: trimmed and upper-cased.
std::string StoredFormulaName(std::string_view name);

// The categories and example formulas a new store starts with.
const std::vector<FormulaCategory>& DefaultFormulaCategories();
const std::vector<FormulaRow>& ExampleFormulas();

}  // namespace vorelin
