// A small wrapper over one SQLite connection: statements with bound text parameters, the
// read-back rule for values, and transactions. Errors come back as SQLite's own text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "practice/query_result.h"

struct sqlite3;

namespace vorelin {

class SqliteDatabase {
 public:
  SqliteDatabase() = default;
  ~SqliteDatabase();
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  // Opens an existing file, or creates it when `create` is set. False with `error` set.
  bool Open(const std::filesystem::path& path, bool create, std::string& error);

  // Runs one statement with `params` bound as texts to ?1, ?2 ... False with `error` set.
  bool Execute(std::string_view sql, const std::vector<std::string>& params, std::string& error);
  // Runs a query and reads every row back as text: a column declared INTEGER or BOOLEAN as
  // integer text; NUMERIC, FLOAT, DOUBLE or REAL as a number with two decimals (an integral
  // stored value as integer text); any other declared type as stored; a computed column by
  // the type of its value in the first row; NULL as empty text.
  bool Query(std::string_view sql, const std::vector<std::string>& params, QueryResult& result,
             std::string& error);
  // The number of rows the statement returns.
  bool CountRows(std::string_view sql, long long& count, std::string& error);
  // Rows changed by the last Execute.
  int Changes() const;

  bool Begin(std::string& error) { return Execute("BEGIN IMMEDIATE", {}, error); }
  bool Commit(std::string& error) { return Execute("COMMIT", {}, error); }
  void Rollback();

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace vorelin
