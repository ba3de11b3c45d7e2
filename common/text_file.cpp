#include "common/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/text_encoding.h"

namespace vorelin {
namespace {

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

std::string Named(const std::filesystem::path& path, const char* what) {
  return "文件：" + path.string() + what;
}

std::string NotRegularMessage(const std::filesystem::path& path, mode_t mode) {
  return Named(path, S_ISDIR(mode) ? "是文件夹，不是文件" : "不是普通文件");
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, so that a failed close (data not written) is seen.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::filesystem::path TemporaryPath(const std::filesystem::path& path) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  return temp;
}

// A fresh temporary file: a stale one (from a crash) is removed first, and O_EXCL with
// O_NOFOLLOW makes sure a link placed there is never written through.
bool WriteTemporary(const std::filesystem::path& temp, std::string_view bytes) {
  ::unlink(temp.c_str());
  Descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (fd.get() < 0) return false;
  const bool written = WriteAll(fd.get(), bytes);
  if (fd.Close() && written) return true;
  ::unlink(temp.c_str());
  return false;
}

// A target may be replaced when it is missing, a regular file or a link.
bool Replaceable(const std::filesystem::path& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
  return S_ISREG(st.st_mode) || S_ISLNK(st.st_mode);
}

}  // namespace

std::string MissingFileMessage(const std::filesystem::path& path) {
  return Named(path, "不存在");
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes, std::string* error) {
  // O_NONBLOCK: opening a pipe must not wait for a writer; the type is checked on the open
  // descriptor, so nothing can be swapped in between the check and the read.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    const bool missing = errno == ENOENT || errno == ENOTDIR || path.empty();
    SetError(error, missing ? MissingFileMessage(path) : Named(path, "无法读取"));
    return false;
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) {
    SetError(error, Named(path, "无法读取"));
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    SetError(error, NotRegularMessage(path, st.st_mode));
    return false;
  }
  const std::string too_large = Named(path, "太大（超过1 GB），无法读取");
  if (static_cast<std::uintmax_t>(st.st_size) > kReadFileLimit) {
    SetError(error, too_large);
    return false;
  }
  std::string data;
  data.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      SetError(error, Named(path, "无法读取"));
      return false;
    }
    if (n == 0) break;
    // The file may grow while it is read.
    if (data.size() + static_cast<size_t>(n) > kReadFileLimit) {
      SetError(error, too_large);
      return false;
    }
    data.append(buffer, static_cast<size_t>(n));
  }
  bytes.swap(data);
  return true;
}

bool ReadTextLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                   std::string* error) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  lines = SplitLines(DecodeFileText(bytes));
  return true;
}

bool WriteFilesAtomically(const std::vector<FileContents>& files, std::string* error) {
  for (const FileContents& file : files) {
    if (!Replaceable(file.path)) {
      struct stat st;
      const bool known = ::lstat(file.path.c_str(), &st) == 0;
      SetError(error, known ? NotRegularMessage(file.path, st.st_mode)
                            : Named(file.path, "无法写入"));
      return false;
    }
  }
  size_t written = 0;
  for (; written < files.size(); ++written) {
    if (!WriteTemporary(TemporaryPath(files[written].path), files[written].bytes)) break;
  }
  if (written < files.size()) {
    for (size_t i = 0; i < written; ++i) ::unlink(TemporaryPath(files[i].path).c_str());
    SetError(error, Named(files[written].path, "无法写入"));
    return false;
  }
  for (size_t i = 0; i < files.size(); ++i) {
    const std::filesystem::path temp = TemporaryPath(files[i].path);
    if (std::rename(temp.c_str(), files[i].path.c_str()) != 0) {
      for (size_t j = i; j < files.size(); ++j) ::unlink(TemporaryPath(files[j].path).c_str());
      SetError(error, Named(files[i].path, "无法写入"));
      return false;
    }
  }
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error) {
  return WriteFilesAtomically({{path, std::string(bytes)}}, error);
}

bool WriteGbkText(const std::filesystem::path& path, std::string_view text, std::string* error) {
  return WriteFileAtomically(path, Utf8ToGbk(text), error);
}

}  // namespace vorelin
