// The hive file (POSIX): read once and kept; every write locked, re-read and replaced
// by an atomic rename, so a crash leaves the old file or the new one. Links
// planted beside it are never followed; a link in its place is kept.
#include "platform/registry/hive_file_store_unix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/interfaces/platform_factories.h"
#include "platform/registry/hive_store.h"

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr int kMaxCorruptCopies = 100;
constexpr int kMaxLinkHops = 40;  // as the kernel allows before ELOOP

reg::Status StatusOf(int error) {
  return (error == EACCES || error == EPERM || error == EROFS) ? reg::kAccessDenied
                                                               : reg::kWriteFault;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

class HiveFileStore : public HiveStore {
 public:
  HiveFileStore(std::string profileName, std::string path, SystemCalls& calls, bool readOnly)
      : HiveStore(std::move(profileName)),
        path_(std::move(path)),
        calls_(calls),
        readOnly_(readOnly) {}

 protected:
  const Hive& CurrentHive() override;
  reg::Status Commit(const HiveChange& change) override;

 private:
  enum class ReadResult { Parsed, Missing, Corrupt, Failed };
  ReadResult ReadHive(Hive& hive);
  reg::Status MakeFolders(const std::string& folder);
  // The folder must be the user's own and closed to others before anything is written.
  reg::Status CheckFolder(const std::string& folder);
  reg::Status OpenLock(const std::string& lockPath, int& lock);
  // The file the hive path ends at, through any links in its place.
  std::string LinkTarget();
  reg::Status MoveCorruptAside(const std::string& target);
  reg::Status WriteTemporary(const std::string& temporary, const std::string& text);
  reg::Status CommitUnlocked(const HiveChange& change);
  reg::Status CommitLocked(const HiveChange& change);
  reg::Status SyncFolder(const std::string& folder);
  // Notes what failed on `file` and why, for the line on standard error.
  reg::Status Failed(const std::string& file, int error);
  void Report();

  std::string path_;
  SystemCalls& calls_;
  const bool readOnly_;
  bool loaded_ = false;
  Hive hive_;
  std::string failure_;   // of the current commit
  std::string reported_;  // the last failure told, so that one cause is told once
};

const Hive& HiveFileStore::CurrentHive() {
  // Start-up reads every value; one read of the file serves them all.
  if (!loaded_) {
    loaded_ = true;
    if (ReadHive(hive_) != ReadResult::Parsed) hive_ = Hive{};
  }
  return hive_;
}

HiveFileStore::ReadResult HiveFileStore::ReadHive(Hive& hive) {
  // No lock: writers replace the file by rename, so a read sees one whole file.
  const int fd = calls_.Open(path_.c_str(), O_RDONLY, 0);
  if (fd < 0) {
    if (errno == ENOENT) return ReadResult::Missing;
    Failed(path_, errno);
    return ReadResult::Failed;
  }
  std::string text;
  char buffer[8192];
  ssize_t count;
  while ((count = calls_.Read(fd, buffer, sizeof buffer)) != 0) {
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
      Failed(path_, errno);
      calls_.Close(fd);
      return ReadResult::Failed;
    }
    text.append(buffer, static_cast<std::size_t>(count));
  }
  calls_.Close(fd);
  std::optional<Hive> parsed = ParseHive(text);
  if (!parsed) return ReadResult::Corrupt;
  hive = std::move(*parsed);
  return ReadResult::Parsed;
}

reg::Status HiveFileStore::MakeFolders(const std::string& folder) {
  // Only the last folder's result counts: a parent may exist yet refuse mkdir.
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1)) {
    calls_.Mkdir(folder.substr(0, slash).c_str(), kFolderMode);
  }
  if (calls_.Mkdir(folder.c_str(), kFolderMode) != 0 && errno != EEXIST) {
    return Failed(folder, errno);
  }
  return reg::kSuccess;
}

reg::Status HiveFileStore::CheckFolder(const std::string& folder) {
  const int fd = calls_.Open(folder.c_str(), O_RDONLY | O_DIRECTORY, 0);
  if (fd < 0) return Failed(folder, errno);
  struct stat info {};
  reg::Status status = reg::kSuccess;
  if (calls_.Fstat(fd, &info) != 0) {
    status = Failed(folder, errno);
  } else if (info.st_uid != geteuid()) {
    failure_ = folder + ": the folder belongs to another user";
    status = reg::kAccessDenied;
  } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && calls_.Fchmod(fd, kFolderMode) != 0) {
    status = Failed(folder, errno);
  }
  calls_.Close(fd);
  return status;
}

reg::Status HiveFileStore::OpenLock(const std::string& lockPath, int& lock) {
  constexpr int kFlags = O_RDWR | O_CREAT | O_NOFOLLOW;
  lock = calls_.Open(lockPath.c_str(), kFlags, kFileMode);
  // A link in the lock's place is removed, itself and never what it names.
  struct stat info {};
  if (lock < 0 && errno == ELOOP && calls_.Lstat(lockPath.c_str(), &info) == 0 &&
      S_ISLNK(info.st_mode) && calls_.Unlink(lockPath.c_str()) == 0) {
    lock = calls_.Open(lockPath.c_str(), kFlags, kFileMode);
  }
  return lock < 0 ? Failed(lockPath, errno) : reg::kSuccess;
}

std::string HiveFileStore::LinkTarget() {
  std::string path = path_;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info {};
    if (calls_.Lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::vector<char> buffer(static_cast<std::size_t>(info.st_size) + 1);
    const ssize_t length = calls_.Readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) break;
    std::string target(buffer.data(), static_cast<std::size_t>(length));
    path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
  }
  return path_;  // a loop or a broken link: the hive file's read has failed already
}

reg::Status HiveFileStore::MoveCorruptAside(const std::string& target) {
  // Never over an earlier copy: each unreadable file is the user's data.
  for (int n = 0; n < kMaxCorruptCopies; ++n) {
    const std::string aside = target + ".corrupt" + (n == 0 ? "" : "." + std::to_string(n));
    const int fd = calls_.Open(aside.c_str(), O_RDONLY, 0);
    if (fd >= 0) {
      calls_.Close(fd);
      continue;
    }
    if (errno != ENOENT) return Failed(aside, errno);
    return calls_.Rename(target.c_str(), aside.c_str()) == 0 ? reg::kSuccess
                                                             : Failed(target, errno);
  }
  failure_ = target + ": too many copies of corrupt files beside it";
  return reg::kWriteFault;
}

reg::Status HiveFileStore::WriteTemporary(const std::string& temporary, const std::string& text) {
  // A stale file, or a link planted in its place, goes; the new one is made afresh.
  if (calls_.Unlink(temporary.c_str()) != 0 && errno != ENOENT) return Failed(temporary, errno);
  const int fd =
      calls_.Open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, kFileMode);
  if (fd < 0) return Failed(temporary, errno);
  bool ok = calls_.Fchmod(fd, kFileMode) == 0;
  for (std::size_t done = 0; ok && done < text.size();) {
    const ssize_t count = calls_.Write(fd, text.data() + done, text.size() - done);
    if (count < 0 && errno == EINTR) continue;
    ok = count > 0;
    if (ok) done += static_cast<std::size_t>(count);
  }
  ok = ok && calls_.Fsync(fd) == 0;
  const int error = errno;
  const bool closed = calls_.Close(fd) == 0;
  if (ok && !closed) return Failed(temporary, errno);
  return ok ? reg::kSuccess : Failed(temporary, error);
}

reg::Status HiveFileStore::SyncFolder(const std::string& folder) {
  const int fd = calls_.Open(folder.c_str(), O_RDONLY | O_DIRECTORY, 0);
  if (fd < 0) return Failed(folder, errno);
  const bool ok = calls_.Fsync(fd) == 0;
  const int error = errno;
  calls_.Close(fd);
  return ok ? reg::kSuccess : Failed(folder, error);
}

reg::Status HiveFileStore::Failed(const std::string& file, int error) {
  failure_ = file + ": " + std::strerror(error);
  return StatusOf(error);
}

// The dialog stays silent on a failed save, as the registry's callers are; one
// line here tells the user why a setting did not stick.
void HiveFileStore::Report() {
  if (failure_.empty()) failure_ = "no folder for the settings";
  if (failure_ == reported_) return;
  reported_ = failure_;
  std::fprintf(stderr, "%s: a setting was not saved in %s (%s)\n", ProfileName().c_str(),
               path_.empty() ? "the settings file" : path_.c_str(), failure_.c_str());
}

reg::Status HiveFileStore::CommitLocked(const HiveChange& change) {
  Hive latest;
  // A link in the hive file's place (a file kept elsewhere, linked in) stays a link:
  // the new file goes beside the file it names.
  const std::string target = LinkTarget();
  switch (ReadHive(latest)) {
    case ReadResult::Parsed:
    case ReadResult::Missing:
      break;
    case ReadResult::Failed:
      return reg::kAccessDenied;  // what we cannot read we must not replace
    case ReadResult::Corrupt:
      if (const reg::Status status = MoveCorruptAside(target); status != reg::kSuccess) {
        return status;
      }
      break;
  }
  if (!ApplyChange(latest, change)) {
    hive_ = std::move(latest);
    return reg::kSuccess;
  }
  const std::string temporary = target + ".tmp";
  reg::Status status = WriteTemporary(temporary, SerializeHive(latest));
  if (status == reg::kSuccess && calls_.Rename(temporary.c_str(), target.c_str()) != 0) {
    status = Failed(target, errno);
  }
  if (status != reg::kSuccess) {
    calls_.Unlink(temporary.c_str());
    return status;
  }
  hive_ = std::move(latest);
  // The rename itself is durable only once the folder is flushed.
  return SyncFolder(FolderOf(target));
}

reg::Status HiveFileStore::CommitUnlocked(const HiveChange& change) {
  if (path_.empty()) return reg::kWriteFault;
  const std::string folder = FolderOf(path_);
  if (const reg::Status status = MakeFolders(folder); status != reg::kSuccess) return status;
  if (const reg::Status status = CheckFolder(folder); status != reg::kSuccess) return status;
  // A lock file of its own: the hive file is replaced, its lock would go with it.
  int lock = -1;
  if (const reg::Status status = OpenLock(path_ + ".lock", lock); status != reg::kSuccess) {
    return status;
  }
  int locked;
  while ((locked = calls_.Flock(lock, LOCK_EX)) != 0 && errno == EINTR) {
  }
  const reg::Status status = locked == 0 ? CommitLocked(change) : Failed(path_ + ".lock", errno);
  calls_.Close(lock);  // releases the lock
  return status;
}

reg::Status HiveFileStore::Commit(const HiveChange& change) {
  // A reader never creates the file, its folder or its lock. Opening a key it
  // lacks succeeds, as the key holds nothing to read; storing a value fails.
  if (readOnly_) return change.value ? reg::kAccessDenied : reg::kSuccess;
  CurrentHive();
  failure_.clear();
  const reg::Status status = CommitUnlocked(change);
  if (status == reg::kSuccess) {
    reported_.clear();
  } else {
    Report();
  }
  return status;
}

}  // namespace

std::string HivePathIn(const std::string& configFolder) {
  std::string config = configFolder;
  if (config.empty()) {
    const passwd* user = getpwuid(getuid());
    if (user == nullptr || user->pw_dir[0] != '/') return {};
    config = std::string(user->pw_dir) + "/.config";
  }
  return config + "/Quenwick Software/registry.reg";
}

std::unique_ptr<ProfileStore> MakeHiveProfileStore(std::string profileName, std::string filePath,
                                                   SystemCalls& calls) {
  return std::make_unique<HiveFileStore>(std::move(profileName), std::move(filePath), calls, false);
}

std::unique_ptr<ProfileStore> MakeProfileStore(const PlatformOptions& options,
                                               std::string profileName) {
  return std::make_unique<HiveFileStore>(std::move(profileName), HivePathIn(options.configFolder),
                                         RealSystemCalls(), options.readOnlySettings);
}
