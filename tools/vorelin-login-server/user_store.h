// The reference login server's users: an SQLite file with one row per user, passwords kept
// as salted, iterated SHA-256 hashes.
#pragma once

#include <string>

struct sqlite3;

namespace vorelin {

class UserStore {
 public:
  enum class AddResult { kAdded, kTaken, kFailed };
  enum class CheckResult { kAccepted, kWrong, kLocked };

  UserStore() = default;
  UserStore(const UserStore&) = delete;
  UserStore& operator=(const UserStore&) = delete;
  ~UserStore();

  // Opens (creating) the file and its table. False with `error` on failure.
  bool Open(const std::string& path, std::string& error);
  AddResult Add(const std::string& name, const std::string& password);
  // A user that does not exist is kWrong, like a wrong password.
  CheckResult Check(const std::string& name, const std::string& password);
  // False when there is no such user.
  bool Lock(const std::string& name);

 private:
  sqlite3* db_ = nullptr;
};

// hex(SHA-256 applied `rounds` times over salt + password); exposed for tests.
std::string PasswordHash(const std::string& salt, const std::string& password, int rounds);

}  // namespace vorelin
