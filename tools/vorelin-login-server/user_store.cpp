// SQLite-backed user rows; every statement is prepared with bound values.
#include "user_store.h"

#include <sqlite3.h>

#include <random>

#include "net/sha256.h"

namespace vorelin {
namespace {

constexpr int kHashRounds = 2000;

std::string NewSalt() {
  std::random_device random;
  std::string salt;
  static constexpr char kHex[] = "0123456789abcdef";
  for (int i = 0; i < 32; ++i) salt += kHex[random() & 15];
  return salt;
}

// A prepared statement that finalises itself.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  bool Ok() const { return stmt_ != nullptr; }
  void Bind(int index, const std::string& text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  int Step() { return sqlite3_step(stmt_); }
  std::string Text(int column) const {
    const unsigned char* text = sqlite3_column_text(stmt_, column);
    return text ? reinterpret_cast<const char*>(text) : "";
  }
  int Int(int column) const { return sqlite3_column_int(stmt_, column); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

std::string PasswordHash(const std::string& salt, const std::string& password, int rounds) {
  Sha256::Digest digest = Sha256::Of(salt + password);
  for (int i = 1; i < rounds; ++i) {
    Sha256 again;
    again.Update(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
    again.Update(salt);
    digest = again.Finish();
  }
  return Sha256::Hex(digest);
}

UserStore::~UserStore() { sqlite3_close(db_); }

bool UserStore::Open(const std::string& path, std::string& error) {
  if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
    error = "cannot open " + path + ": " + sqlite3_errmsg(db_);
    return false;
  }
  sqlite3_busy_timeout(db_, 2000);
  // WAL: registrations do not wait for a full sync each, and --lock can run beside the server.
  sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
  char* message = nullptr;
  if (sqlite3_exec(db_,
                   "CREATE TABLE IF NOT EXISTS users (name TEXT PRIMARY KEY, salt TEXT NOT NULL, "
                   "hash TEXT NOT NULL, locked INTEGER NOT NULL DEFAULT 0)",
                   nullptr, nullptr, &message) != SQLITE_OK) {
    error = std::string("cannot create the users table: ") + (message ? message : "");
    sqlite3_free(message);
    return false;
  }
  return true;
}

UserStore::AddResult UserStore::Add(const std::string& name, const std::string& password) {
  std::string salt = NewSalt();
  Statement insert(db_, "INSERT INTO users (name, salt, hash) VALUES (?, ?, ?)");
  if (!insert.Ok()) return AddResult::kFailed;
  insert.Bind(1, name);
  insert.Bind(2, salt);
  insert.Bind(3, PasswordHash(salt, password, kHashRounds));
  int status = insert.Step();
  if (status == SQLITE_DONE) return AddResult::kAdded;
  return status == SQLITE_CONSTRAINT ? AddResult::kTaken : AddResult::kFailed;
}

UserStore::CheckResult UserStore::Check(const std::string& name, const std::string& password) {
  Statement select(db_, "SELECT salt, hash, locked FROM users WHERE name = ?");
  if (!select.Ok()) return CheckResult::kWrong;
  select.Bind(1, name);
  if (select.Step() != SQLITE_ROW) return CheckResult::kWrong;
  if (PasswordHash(select.Text(0), password, kHashRounds) != select.Text(1))
    return CheckResult::kWrong;
  return select.Int(2) ? CheckResult::kLocked : CheckResult::kAccepted;
}

bool UserStore::Lock(const std::string& name) {
  Statement update(db_, "UPDATE users SET locked = 1 WHERE name = ?");
  if (!update.Ok()) return false;
  update.Bind(1, name);
  return update.Step() == SQLITE_DONE && sqlite3_changes(db_) > 0;
}

}  // namespace vorelin
