// The reference login server's users: an SQLite file with one row per user, passwords kept
// as Argon2id strings (libsodium's crypto_pwhash_str). Rows of older files, salted iterated
// SHA-256, are still read and are rewritten as Argon2id on the user's next good login.
#pragma once

#include <string>

struct sqlite3;

namespace vorelin {

// How hard new password hashes are to compute. kInteractive (about a quarter of a second and
// 64 MiB each) for real use; kTestMinimum only so that load tests can hash thousands.
enum class HashStrength { kInteractive, kTestMinimum };

class UserStore {
 public:
  enum class AddResult { kAdded, kTaken, kFailed };
  enum class CheckResult { kAccepted, kWrong, kLocked };

  explicit UserStore(HashStrength strength = HashStrength::kInteractive) : strength_(strength) {}
  UserStore(const UserStore&) = delete;
  UserStore& operator=(const UserStore&) = delete;
  ~UserStore();

  // Opens (creating) the file and its table. False with `error` on failure.
  bool Open(const std::string& path, std::string& error);
  AddResult Add(const std::string& name, const std::string& password);
  // A user that does not exist is kWrong, like a wrong password. A right password on an old
  // row (or, at kInteractive, on a row hashed more weakly) rewrites the row's hash.
  CheckResult Check(const std::string& name, const std::string& password);
  // False when there is no such user.
  bool Lock(const std::string& name);

 private:
  void Rehash(const std::string& name, const std::string& password);

  HashStrength strength_;
  sqlite3* db_ = nullptr;
};

// The old rows' hash: hex(SHA-256 applied `rounds` times over salt + password); older files
// hold it with 2000 rounds. Exposed so tests can write such rows.
std::string LegacyPasswordHash(const std::string& salt, const std::string& password, int rounds);
inline constexpr int kLegacyHashRounds = 2000;

}  // namespace vorelin
