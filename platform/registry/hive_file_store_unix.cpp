// The hive file (POSIX): read once and kept; every write locked, re-read and replaced
// by an atomic rename, so a crash leaves the old file or the new one.
#include "platform/registry/hive_file_store_unix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/interfaces/platform_factories.h"
#include "platform/registry/hive_store.h"

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr int kMaxCorruptCopies = 100;

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
  reg::Status MoveCorruptAside();
  reg::Status WriteTemporary(const std::string& temporary, const std::string& text);
  reg::Status CommitLocked(const HiveChange& change);
  reg::Status SyncFolder();

  std::string path_;
  SystemCalls& calls_;
  const bool readOnly_;
  bool loaded_ = false;
  Hive hive_;
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
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  std::string text;
  char buffer[8192];
  ssize_t count;
  while ((count = calls_.Read(fd, buffer, sizeof buffer)) != 0) {
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) {
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
  if (calls_.Mkdir(folder.c_str(), kFolderMode) != 0 && errno != EEXIST) return StatusOf(errno);
  return reg::kSuccess;
}

reg::Status HiveFileStore::MoveCorruptAside() {
  // Never over an earlier copy: each unreadable file is the user's data.
  for (int n = 0; n < kMaxCorruptCopies; ++n) {
    const std::string aside = path_ + ".corrupt" + (n == 0 ? "" : "." + std::to_string(n));
    const int fd = calls_.Open(aside.c_str(), O_RDONLY, 0);
    if (fd >= 0) {
      calls_.Close(fd);
      continue;
    }
    if (errno != ENOENT) return StatusOf(errno);
    return calls_.Rename(path_.c_str(), aside.c_str()) == 0 ? reg::kSuccess : StatusOf(errno);
  }
  return reg::kWriteFault;
}

reg::Status HiveFileStore::WriteTemporary(const std::string& temporary, const std::string& text) {
  const int fd = calls_.Open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, kFileMode);
  if (fd < 0) return StatusOf(errno);
  bool ok = calls_.Fchmod(fd, kFileMode) == 0;
  for (std::size_t done = 0; ok && done < text.size();) {
    const ssize_t count = calls_.Write(fd, text.data() + done, text.size() - done);
    if (count < 0 && errno == EINTR) continue;
    ok = count > 0;
    if (ok) done += static_cast<std::size_t>(count);
  }
  ok = ok && calls_.Fsync(fd) == 0;
  const int error = errno;
  ok = calls_.Close(fd) == 0 && ok;
  return ok ? reg::kSuccess : StatusOf(error);
}

reg::Status HiveFileStore::SyncFolder() {
  const int fd = calls_.Open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY, 0);
  if (fd < 0) return StatusOf(errno);
  const bool ok = calls_.Fsync(fd) == 0;
  const int error = errno;
  calls_.Close(fd);
  return ok ? reg::kSuccess : StatusOf(error);
}

reg::Status HiveFileStore::CommitLocked(const HiveChange& change) {
  Hive latest;
  switch (ReadHive(latest)) {
    case ReadResult::Parsed:
    case ReadResult::Missing:
      break;
    case ReadResult::Failed:
      return reg::kAccessDenied;  // what we cannot read we must not replace
    case ReadResult::Corrupt:
      if (const reg::Status status = MoveCorruptAside(); status != reg::kSuccess) return status;
      break;
  }
  if (!ApplyChange(latest, change)) {
    hive_ = std::move(latest);
    return reg::kSuccess;
  }
  const std::string temporary = path_ + ".tmp";
  reg::Status status = WriteTemporary(temporary, SerializeHive(latest));
  if (status == reg::kSuccess && calls_.Rename(temporary.c_str(), path_.c_str()) != 0)
    status = StatusOf(errno);
  if (status != reg::kSuccess) {
    calls_.Unlink(temporary.c_str());
    return status;
  }
  hive_ = std::move(latest);
  // The rename itself is durable only once the folder is flushed.
  return SyncFolder();
}

reg::Status HiveFileStore::Commit(const HiveChange& change) {
  // A reader never creates the file, its folder or its lock. Opening a key it
  // lacks succeeds, as the key holds nothing to read; storing a value fails.
  if (readOnly_) return change.value ? reg::kAccessDenied : reg::kSuccess;
  CurrentHive();
  if (path_.empty()) return reg::kWriteFault;
  if (const reg::Status status = MakeFolders(FolderOf(path_)); status != reg::kSuccess)
    return status;
  // A lock file of its own: the hive file is replaced, its lock would go with it.
  const std::string lockPath = path_ + ".lock";
  const int lock = calls_.Open(lockPath.c_str(), O_RDWR | O_CREAT, kFileMode);
  if (lock < 0) return StatusOf(errno);
  int locked;
  while ((locked = calls_.Flock(lock, LOCK_EX)) != 0 && errno == EINTR) {
  }
  const reg::Status status = locked == 0 ? CommitLocked(change) : StatusOf(errno);
  calls_.Close(lock);  // releases the lock
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
