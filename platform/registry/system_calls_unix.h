// The system calls of the hive file, wrapped so that tests can make any step fail.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

class SystemCalls {
 public:
  virtual ~SystemCalls() = default;
  virtual int Open(const char* path, int flags, mode_t mode);
  virtual int Close(int fd);
  virtual int Flock(int fd, int operation);
  virtual ssize_t Read(int fd, void* buffer, size_t size);
  virtual ssize_t Write(int fd, const void* buffer, size_t size);
  virtual int Fsync(int fd);
  virtual int Fchmod(int fd, mode_t mode);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);
  virtual int Mkdir(const char* path, mode_t mode);
  virtual int Fstat(int fd, struct stat* info);
  virtual int Lstat(const char* path, struct stat* info);
  virtual ssize_t Readlink(const char* path, char* buffer, size_t size);
};

// The calls as the system makes them.
SystemCalls& RealSystemCalls();
