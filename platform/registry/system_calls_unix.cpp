// The wrapped system calls, passed straight to the system.
#include "platform/registry/system_calls_unix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

int SystemCalls::Open(const char* path, int flags, mode_t mode) {
  return ::open(path, flags | O_CLOEXEC, mode);
}
int SystemCalls::Close(int fd) { return ::close(fd); }
int SystemCalls::Flock(int fd, int operation) { return ::flock(fd, operation); }
ssize_t SystemCalls::Read(int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); }
ssize_t SystemCalls::Write(int fd, const void* buffer, size_t size) {
  return ::write(fd, buffer, size);
}
int SystemCalls::Fsync(int fd) { return ::fsync(fd); }
int SystemCalls::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int SystemCalls::Rename(const char* from, const char* to) { return std::rename(from, to); }
int SystemCalls::Unlink(const char* path) { return ::unlink(path); }
int SystemCalls::Mkdir(const char* path, mode_t mode) { return ::mkdir(path, mode); }
int SystemCalls::Fstat(int fd, struct stat* info) { return ::fstat(fd, info); }
int SystemCalls::Lstat(const char* path, struct stat* info) { return ::lstat(path, info); }
ssize_t SystemCalls::Readlink(const char* path, char* buffer, size_t size) {
  return ::readlink(path, buffer, size);
}

SystemCalls& RealSystemCalls() {
  static SystemCalls calls;
  return calls;
}
