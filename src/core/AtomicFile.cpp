#include "core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

namespace {

// Where a write of path lands: the file its links lead to.
std::string LinkTarget(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    std::string link(PATH_MAX, '\0');
    const ssize_t n = readlink(path.c_str(), link.data(), link.size());
    if (n <= 0) break;
    link.resize(size_t(n));
    const size_t slash = path.find_last_of('/');
    if (link[0] == '/' || slash == std::string::npos)
      path = link;
    else
      path.replace(slash + 1, std::string::npos, link);
  }
  return path;
}

bool WriteAll(int fd, std::string_view text) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  auto fail = [](const std::string& why) { throw TWriteError(why); };
  const std::string target = LinkTarget(path);
  struct stat st;
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) fail(std::strerror(EISDIR));
  if (exists && !S_ISREG(st.st_mode)) fail("it is not a regular file");
  if (exists && (!(st.st_mode & S_IWUSR) || ::access(target.c_str(), W_OK) != 0))
    fail("the file is read-only");

  const size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  RemoveStaleTemporaries(target);
  // A name of its own, so that two programs writing at once never share one.
  std::string temp = folder + "/." + base + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) fail(std::strerror(errno));
  mode_t mode = st.st_mode & 07777;
  if (!exists) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  const bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  const int error = errno;
  if (::close(fd) != 0 || !written) {
    const int why = written ? errno : error;
    ::unlink(temp.c_str());
    fail(std::strerror(why));
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int why = errno;
    ::unlink(temp.c_str());
    fail(std::strerror(why));
  }
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::string target = LinkTarget(path);
  const size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
  const std::string prefix =
      "." + (slash == std::string::npos ? target : target.substr(slash + 1)) + ".";
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    // mkstemp's six letters and digits after the name, and nothing else.
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix) ||
        !std::all_of(name.end() - 6, name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
      continue;
    const std::string file = folder + "/" + std::string(name);
    struct stat st;
    // Older than a minute: no write of ours still works on it.
    if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        now - st.st_mtime > 60)
      ::unlink(file.c_str());
  }
  ::closedir(dir);
}
