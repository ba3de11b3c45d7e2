#include "formula_library/formula_store.h"

#include <system_error>

#include "common/numbers.h"
#include "formula/function_table.h"
#include "formula/source.h"
#include "formula_library/editor_logic.h"
#include "practice/sqlite_database.h"

namespace vorelin {
namespace {

constexpr const char* kSchema[] = {
    "CREATE TABLE [公式分类] (名称 TEXT, 分类 INTEGER, 序号 INTEGER)",
    "CREATE TABLE [公式库] (名称 TEXT, 描述 TEXT, 内容 TEXT, 分类名称 TEXT, 类型 INTEGER)",
};
constexpr const char* kSelectCategories =
    "SELECT * FROM [公式分类] WHERE 分类=1 ORDER BY 序号";
constexpr const char* kSelectFormulasOf =
    "SELECT * FROM [公式库] WHERE 分类名称=?1 ORDER BY rowid";
constexpr const char* kSelectFormula = "SELECT * FROM [公式库] WHERE 名称=?1";
constexpr const char* kUpdateFormula =
    "UPDATE [公式库] SET 描述=?2, 内容=?3, 分类名称=?4, 类型=1 WHERE 名称=?1";
constexpr const char* kInsertFormula =
    "INSERT INTO [公式库] (名称, 描述, 内容, 分类名称, 类型) VALUES (?1, ?2, ?3, ?4, 1)";
constexpr const char* kDeleteFormula = "DELETE FROM [公式库] WHERE 名称=?1";
constexpr const char* kInsertCategory =
    "INSERT INTO [公式分类] (名称, 分类, 序号) VALUES (?1, ?2, ?3)";

FormulaRow RowAt(const QueryResult& result, size_t i) {
  FormulaRow row;
  row.name = result.Value(i, "名称");
  row.description = result.Value(i, "描述");
  row.text = result.Value(i, "内容");
  row.category = result.Value(i, "分类名称");
  row.type = static_cast<int>(ParseDecimalOr(result.Value(i, "类型"), 0));
  return row;
}

bool WriteDefaults(SqliteDatabase& db, std::string& error) {
  for (const char* statement : kSchema)
    if (!db.Execute(statement, {}, error)) return false;
  for (const FormulaCategory& category : DefaultFormulaCategories()) {
    if (!db.Execute(kInsertCategory,
                    {category.name, std::to_string(category.kind), std::to_string(category.order)},
                    error))
      return false;
  }
  for (const FormulaRow& row : ExampleFormulas()) {
    if (!db.Execute(kInsertFormula, {row.name, row.description, row.text, row.category}, error))
      return false;
  }
  return true;
}

}  // namespace

std::string MissingLibraryFormulaMessage(std::string_view name) {
  return "公式库中没有公式:" + std::string(name);
}

std::string StoredFormulaName(std::string_view name) { return AsciiUpper(TrimControl(name)); }

FormulaStore::FormulaStore() = default;
FormulaStore::~FormulaStore() = default;

std::filesystem::path FormulaStore::PathIn(const std::filesystem::path& root) {
  return root / kFormulaStoreFileName;
}

bool FormulaStore::CreateWithDefaults(const std::filesystem::path& path, std::string& error) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return true;
  bool ok;
  {
    SqliteDatabase db;
    ok = db.Open(path, true, error);
    if (ok && db.Begin(error)) {
      ok = WriteDefaults(db, error) && db.Commit(error);
      if (!ok) db.Rollback();
    } else {
      ok = false;
    }
  }
  if (!ok) {
    std::filesystem::remove(path, ec);
    error = "无法创建公式库：" + path.string() + " " + error;
  }
  return ok;
}

bool FormulaStore::Open(const std::filesystem::path& path, std::string& error) {
  db_.reset();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = kMissingStoreMessage;
    return false;
  }
  auto db = std::make_unique<SqliteDatabase>();
  if (!db->Open(path, false, error)) return false;
  // A file that is no store of this layout fails here rather than at the first query.
  QueryResult probe;
  if (!db->Query("SELECT 名称, 分类, 序号 FROM [公式分类] LIMIT 0", {}, probe, error) ||
      !db->Query("SELECT 名称, 描述, 内容, 分类名称, 类型 FROM [公式库] LIMIT 0", {}, probe,
                 error))
    return false;
  db_ = std::move(db);
  return true;
}

bool FormulaStore::Categories(std::vector<FormulaCategory>& categories, std::string& error) {
  if (!db_) return (error = kMissingStoreMessage, false);
  QueryResult result;
  if (!db_->Query(kSelectCategories, {}, result, error)) return false;
  categories.clear();
  for (size_t i = 0; i < result.rows.size(); ++i) {
    FormulaCategory category;
    category.name = result.Value(i, "名称");
    category.kind = static_cast<int>(ParseDecimalOr(result.Value(i, "分类"), 0));
    category.order = static_cast<int>(ParseDecimalOr(result.Value(i, "序号"), 0));
    categories.push_back(std::move(category));
  }
  return true;
}

bool FormulaStore::FormulasOf(std::string_view category, std::vector<FormulaRow>& rows,
                              std::string& error) {
  if (!db_) return (error = kMissingStoreMessage, false);
  QueryResult result;
  if (!db_->Query(kSelectFormulasOf, {std::string(category)}, result, error)) return false;
  rows.clear();
  for (size_t i = 0; i < result.rows.size(); ++i) rows.push_back(RowAt(result, i));
  return true;
}

bool FormulaStore::Find(std::string_view name, FormulaRow& row, bool& found,
                        std::string& error) {
  if (!db_) return (error = kMissingStoreMessage, false);
  QueryResult result;
  if (!db_->Query(kSelectFormula, {std::string(name)}, result, error)) return false;
  found = !result.rows.empty();
  if (found) row = RowAt(result, 0);
  return true;
}

bool FormulaStore::Save(const FormulaRow& row, std::string& error) {
  if (!db_) return (error = kMissingStoreMessage, false);
  const std::string name = StoredFormulaName(row.name);
  if (name.empty()) return (error = kEnterNameMessage, false);
  if (name.find_first_of(" \t") != std::string::npos) return (error = kNameWithBlankMessage, false);
  const std::vector<std::string> params = {name, row.description, row.text, row.category};
  if (!db_->Begin(error)) return false;
  bool ok = db_->Execute(kUpdateFormula, params, error);
  if (ok && db_->Changes() == 0) ok = db_->Execute(kInsertFormula, params, error);
  if (ok) ok = db_->Commit(error);
  if (!ok) db_->Rollback();
  return ok;
}

bool FormulaStore::Remove(std::string_view name, std::string& error) {
  if (!db_) return (error = kMissingStoreMessage, false);
  return db_->Execute(kDeleteFormula, {std::string(name)}, error);
}

}  // namespace vorelin
