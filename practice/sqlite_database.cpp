#include "practice/sqlite_database.h"

#include <sqlite3.h>

#include <cctype>

#include "common/format.h"

namespace vorelin {
namespace {

enum class ReadAs { kInteger, kNumber, kText, kByValue };

ReadAs ReadRuleFor(const char* declared) {
  if (!declared) return ReadAs::kByValue;
  std::string type;
  for (const char* p = declared; *p; ++p) type += static_cast<char>(std::toupper(*p));
  if (type == "INTEGER" || type == "INT" || type == "BOOLEAN") return ReadAs::kInteger;
  if (type == "NUMERIC" || type == "FLOAT" || type == "DOUBLE" || type == "REAL")
    return ReadAs::kNumber;
  return ReadAs::kText;
}

std::string TextOf(sqlite3_stmt* stmt, int i) {
  const unsigned char* text = sqlite3_column_text(stmt, i);
  return text ? std::string(reinterpret_cast<const char*>(text),
                            static_cast<size_t>(sqlite3_column_bytes(stmt, i)))
              : std::string();
}

// A value read by its own storage type: integers as integer text, floats with two decimals.
std::string ByStorage(sqlite3_stmt* stmt, int i, int type) {
  switch (type) {
    case SQLITE_INTEGER: return Format("%lld", static_cast<long long>(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT: return Format("%.2f", sqlite3_column_double(stmt, i));
    case SQLITE_NULL: return {};
    default: return TextOf(stmt, i);
  }
}

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql) {
    sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  sqlite3_stmt* get() const { return stmt_; }

  bool Bind(const std::vector<std::string>& params) {
    for (size_t i = 0; i < params.size(); ++i) {
      if (sqlite3_bind_text(stmt_, static_cast<int>(i + 1), params[i].data(),
                            static_cast<int>(params[i].size()), SQLITE_TRANSIENT) != SQLITE_OK)
        return false;
    }
    return true;
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

int QueryResult::ColumnIndex(std::string_view name) const {
  for (size_t c = 0; c < columns.size(); ++c) {
    const std::string& col = columns[c];
    if (col.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < col.size() && same; ++i)
      same = std::tolower(static_cast<unsigned char>(col[i])) ==
             std::tolower(static_cast<unsigned char>(name[i]));
    if (same) return static_cast<int>(c);
  }
  return -1;
}

std::string QueryResult::Value(size_t row, std::string_view name) const {
  int c = ColumnIndex(name);
  if (c < 0 || row >= rows.size()) return {};
  return rows[row][static_cast<size_t>(c)];
}

SqliteDatabase::~SqliteDatabase() { sqlite3_close(db_); }

bool SqliteDatabase::Open(const std::filesystem::path& path, bool create, std::string& error) {
  int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(path.string().c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    error = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  sqlite3_busy_timeout(db_, 2000);
  return true;
}

bool SqliteDatabase::Execute(std::string_view sql, const std::vector<std::string>& params,
                             std::string& error) {
  Statement stmt(db_, sql);
  if (!stmt.get() || !stmt.Bind(params)) {
    error = sqlite3_errmsg(db_);
    return false;
  }
  int rc;
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) {
    error = sqlite3_errmsg(db_);
    return false;
  }
  return true;
}

bool SqliteDatabase::Query(std::string_view sql, const std::vector<std::string>& params,
                           QueryResult& result, std::string& error) {
  Statement stmt(db_, sql);
  if (!stmt.get() || !stmt.Bind(params)) {
    error = sqlite3_errmsg(db_);
    return false;
  }
  QueryResult out;
  const int n = sqlite3_column_count(stmt.get());
  std::vector<ReadAs> rules;
  std::vector<int> first_row_types;
  for (int i = 0; i < n; ++i) {
    out.columns.emplace_back(sqlite3_column_name(stmt.get(), i));
    rules.push_back(ReadRuleFor(sqlite3_column_decltype(stmt.get(), i)));
  }
  int rc;
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < n; ++i) {
      const int type = sqlite3_column_type(stmt.get(), i);
      if (out.rows.empty()) first_row_types.push_back(type);
      switch (rules[i]) {
        case ReadAs::kInteger:
          row.push_back(type == SQLITE_NULL ? std::string()
                                            : Format("%lld", static_cast<long long>(
                                                                 sqlite3_column_int64(stmt.get(), i))));
          break;
        case ReadAs::kNumber: row.push_back(ByStorage(stmt.get(), i, type)); break;
        case ReadAs::kText: row.push_back(TextOf(stmt.get(), i)); break;
        case ReadAs::kByValue: {
          const int first = first_row_types[i];
          if (type == SQLITE_NULL) row.emplace_back();
          else if (first == SQLITE_INTEGER)
            row.push_back(Format("%lld", static_cast<long long>(sqlite3_column_int64(stmt.get(), i))));
          else if (first == SQLITE_FLOAT)
            row.push_back(Format("%.2f", sqlite3_column_double(stmt.get(), i)));
          else
            row.push_back(TextOf(stmt.get(), i));
          break;
        }
      }
    }
    out.rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) {
    error = sqlite3_errmsg(db_);
    return false;
  }
  result = std::move(out);
  return true;
}

bool SqliteDatabase::CountRows(std::string_view sql, long long& count, std::string& error) {
  Statement stmt(db_, sql);
  if (!stmt.get()) {
    error = sqlite3_errmsg(db_);
    return false;
  }
  long long n = 0;
  int rc;
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) ++n;
  if (rc != SQLITE_DONE) {
    error = sqlite3_errmsg(db_);
    return false;
  }
  count = n;
  return true;
}

int SqliteDatabase::Changes() const { return sqlite3_changes(db_); }

void SqliteDatabase::Rollback() {
  std::string ignored;
  Execute("ROLLBACK", {}, ignored);
}

}  // namespace vorelin
