// SQLite-backed user rows; every statement is prepared with bound values. New rows keep an
// empty salt column: the Argon2id string carries its own salt and limits.
#include "user_store.h"

#include <sodium.h>
#include <sqlite3.h>

#include "net/sha256.h"

namespace vorelin {
namespace {

constexpr const char* kArgon2idPrefix = "$argon2id$";

struct HashLimits {
  unsigned long long ops;
  size_t memory;
};

HashLimits LimitsOf(HashStrength strength) {
  if (strength == HashStrength::kTestMinimum)
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
  return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

// Empty when hashing fails (out of memory).
std::string NewHash(const std::string& password, HashStrength strength) {
  HashLimits limits = LimitsOf(strength);
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, password.data(), password.size(), limits.ops, limits.memory) != 0)
    return {};
  return out;
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

std::string LegacyPasswordHash(const std::string& salt, const std::string& password, int rounds) {
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
  if (sodium_init() < 0) {
    error = "cannot start libsodium";
    return false;
  }
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
  std::string hash = NewHash(password, strength_);
  if (hash.empty()) return AddResult::kFailed;
  Statement insert(db_, "INSERT INTO users (name, salt, hash) VALUES (?, '', ?)");
  if (!insert.Ok()) return AddResult::kFailed;
  insert.Bind(1, name);
  insert.Bind(2, hash);
  int status = insert.Step();
  if (status == SQLITE_DONE) return AddResult::kAdded;
  return status == SQLITE_CONSTRAINT ? AddResult::kTaken : AddResult::kFailed;
}

UserStore::CheckResult UserStore::Check(const std::string& name, const std::string& password) {
  Statement select(db_, "SELECT salt, hash, locked FROM users WHERE name = ?");
  if (!select.Ok()) return CheckResult::kWrong;
  select.Bind(1, name);
  if (select.Step() != SQLITE_ROW) return CheckResult::kWrong;
  std::string hash = select.Text(1);
  bool locked = select.Int(2) != 0;
  bool old_form = hash.rfind(kArgon2idPrefix, 0) != 0;
  if (old_form) {
    if (LegacyPasswordHash(select.Text(0), password, kLegacyHashRounds) != hash)
      return CheckResult::kWrong;
  } else if (crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) != 0) {
    return CheckResult::kWrong;
  }
  HashLimits limits = LimitsOf(strength_);
  // A test-strength server leaves Argon2id rows alone, so it cannot weaken a real file.
  bool weaker = strength_ == HashStrength::kInteractive &&
                crypto_pwhash_str_needs_rehash(hash.c_str(), limits.ops, limits.memory) != 0;
  if (old_form || weaker) Rehash(name, password);
  return locked ? CheckResult::kLocked : CheckResult::kAccepted;
}

// On failure the row keeps its old hash, which still works; the next login tries again.
void UserStore::Rehash(const std::string& name, const std::string& password) {
  std::string hash = NewHash(password, strength_);
  if (hash.empty()) return;
  Statement update(db_, "UPDATE users SET salt = '', hash = ? WHERE name = ?");
  if (!update.Ok()) return;
  update.Bind(1, hash);
  update.Bind(2, name);
  update.Step();
}

bool UserStore::Lock(const std::string& name) {
  Statement update(db_, "UPDATE users SET locked = 1 WHERE name = ?");
  if (!update.Ok()) return false;
  update.Bind(1, name);
  return update.Step() == SQLITE_DONE && sqlite3_changes(db_) > 0;
}

}  // namespace vorelin
