// The hive file store: values through the file byte for byte, the registry's
// query results, case-blind names, corrupt files, modes, links planted or kept,
// the folder's owner, and each write step failing on purpose.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/registry/hive.h"
#include "platform/registry/hive_file_store_unix.h"
#include "settings/settings_store.h"
#include "tests/registry/temp_folder.h"
#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;

using namespace std::string_literals;
namespace fs = std::filesystem;

const unsigned char* Bytes(const std::string& text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

std::uint32_t Size(const std::string& text) { return static_cast<std::uint32_t>(text.size()); }

struct Stored {
  reg::ValueType type = reg::kNone;
  std::string data;
  bool operator==(const Stored&) const = default;
};

class HiveFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<ProfileStore> MakeStore(SystemCalls& calls = RealSystemCalls()) {
    return MakeHiveProfileStore("Orlimar", file_.string(), calls);
  }

  reg::Key Open(ProfileStore& store, const std::string& path = kApp) {
    reg::Key key = 0;
    EXPECT_EQ(store.CreateKey(path, key), reg::kSuccess);
    return key;
  }

  reg::Status Set(ProfileStore& store, const std::string& name, const Stored& value) {
    const reg::Key key = Open(store);
    const reg::Status status =
        store.SetValueEx(key, name, value.type, Bytes(value.data), Size(value.data));
    store.CloseKey(key);
    return status;
  }

  std::optional<Stored> Get(ProfileStore& store, const std::string& name) {
    const reg::Key key = Open(store);
    Stored value;
    std::uint32_t size = 0;
    std::optional<Stored> result;
    if (store.QueryValueEx(key, name, &value.type, nullptr, &size) == reg::kSuccess) {
      std::vector<unsigned char> buffer(size + 1);
      EXPECT_EQ(store.QueryValueEx(key, name, nullptr, buffer.data(), &size), reg::kSuccess);
      value.data.assign(buffer.begin(), buffer.begin() + size);
      result = value;
    }
    store.CloseKey(key);
    return result;
  }

  static constexpr const char* kApp = "Software\\Quenwick Software\\Orlimar";
  TempFolder temp_;
  fs::path folder_ = temp_.path() / "config" / "Quenwick Software";
  fs::path file_ = folder_ / "registry.reg";
};

TEST_F(HiveFileTest, EveryValueComesBackByteForByteFromTheFile) {
  std::string everyByte;
  for (int i = 0; i < 256; ++i) everyByte += static_cast<char>(i);
  const std::map<std::string, Stored> values = {
      {"Text", {reg::kSz, "Pine Hollow\0"s}},
      {"Escapes", {reg::kSz, "\"q\" \\ \\\\\0"s}},
      {"NoNul", {reg::kSz, "abc"}},
      {"InnerNul", {reg::kSz, "a\0b\0"s}},
      {"NoBytes", {reg::kSz, ""}},
      {"Dword", {reg::kDword, "\x01\x02\x03\x04"s}},
      {"ShortDword", {reg::kDword, "\x01"s}},
      {"Expandable", {reg::kExpandSz, "%HOME%\\x\0"s}},
      {"Binary", {reg::kBinary, everyByte}},
      {"Qword", {0xb, "\x01\0\0\0\0\0\0\x80"s}},
      {"Name \"with\" \\", {reg::kSz, "v\0"s}},
  };
  {
    auto writer = MakeStore();
    for (const auto& [name, value] : values) ASSERT_EQ(Set(*writer, name, value), reg::kSuccess);
  }
  auto reader = MakeStore();
  for (const auto& [name, value] : values) EXPECT_EQ(Get(*reader, name), value) << name;
}

TEST_F(HiveFileTest, QueryAnswersAsTheRegistryDoes) {
  auto store = MakeStore();
  ASSERT_EQ(Set(*store, "LastLocation", {reg::kSz, "Pine Hollow\0"s}), reg::kSuccess);
  const reg::Key key = Open(*store);
  unsigned char buffer[12];
  std::uint32_t size = 11;
  reg::ValueType type = reg::kNone;
  EXPECT_EQ(store->QueryValueEx(key, "LastLocation", &type, buffer, &size), reg::kMoreData);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(store->QueryValueEx(key, "LastLocation", &type, buffer, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kSz);
  EXPECT_EQ(store->QueryValueEx(key, "Missing", &type, buffer, &size), reg::kFileNotFound);
  EXPECT_EQ(store->CloseKey(key), reg::kSuccess);
  EXPECT_EQ(store->QueryValueEx(key, "LastLocation", &type, buffer, &size), reg::kInvalidHandle);
}

TEST_F(HiveFileTest, NamesAreCaseBlindAndKeepTheirFirstSpelling) {
  auto store = MakeStore();
  ASSERT_EQ(Set(*store, "LastLocation", {reg::kSz, "a\0"s}), reg::kSuccess);
  const reg::Key key = Open(*store, "SOFTWARE\\quenwick software\\ORLIMAR");
  const std::string text = "b\0"s;
  EXPECT_EQ(store->SetValueEx(key, "lastlocation", reg::kSz, Bytes(text), Size(text)),
            reg::kSuccess);
  EXPECT_EQ(ReadWholeFile(file_),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar]\n"
            "\"LastLocation\"=\"b\"\n");
}

// Counts the files opened, to show start-up reads the hive once.
class CountingCalls : public SystemCalls {
 public:
  int Open(const char* path, int flags, mode_t mode) override {
    ++opens;
    return SystemCalls::Open(path, flags, mode);
  }
  int opens = 0;
};

TEST_F(HiveFileTest, StartUpReadsTheFileOnce) {
  {
    auto store = MakeStore();
    AppSettingsState app;
    SetUpRegistry(*store, app);
    WriteLastLocation(*store, app, "Pine Hollow");
    ASSERT_TRUE(store->WriteProfileInt("Preferences", "Rain", 0));
  }
  CountingCalls calls;
  auto store = MakeStore(calls);
  AppSettingsState app;
  SetUpRegistry(*store, app);
  LoadPreferences(*store);
  ReadLastLocation(*store, app);
  EXPECT_EQ(calls.opens, 1);
  EXPECT_EQ(thePreferences.m_bRain, 0);
  EXPECT_STREQ(app.m_szLastLocation, "Pine Hollow");
}

TEST_F(HiveFileTest, CorruptFileReadsEmptyAndIsKeptAside) {
  fs::create_directories(folder_);
  const std::string garbage = "\xff\xfe garbage, not a hive\n";
  for (const char* aside : {"registry.reg.corrupt", "registry.reg.corrupt.1"}) {
    WriteWholeFile(file_, garbage + aside);
    auto store = MakeStore();
    AppSettingsState app;
    SetUpRegistry(*store, app);
    LoadPreferences(*store);
    ReadLastLocation(*store, app);
    EXPECT_EQ(thePreferences.m_bSleet, 1);
    EXPECT_STREQ(app.m_szLastLocation, "");
    EXPECT_EQ(ReadWholeFile(folder_ / aside), garbage + aside);
    std::optional<Hive> hive = ParseHive(ReadWholeFile(file_));
    ASSERT_TRUE(hive);
    EXPECT_EQ(hive->keys.size(), 2u);
  }
  EXPECT_EQ(ReadWholeFile(folder_ / "registry.reg.corrupt"), garbage + "registry.reg.corrupt");
}

TEST_F(HiveFileTest, FolderAndFilesArePrivateWhateverTheUmask) {
  const mode_t old = umask(0);
  auto store = MakeStore();
  const reg::Status status = Set(*store, "LastLocation", {reg::kSz, "x\0"s});
  umask(old);
  ASSERT_EQ(status, reg::kSuccess);
  const auto mode = [](const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
  };
  EXPECT_EQ(mode(folder_), 0700u);
  EXPECT_EQ(mode(file_), 0600u);
  EXPECT_EQ(mode(file_.string() + ".lock"), 0600u);
  EXPECT_FALSE(fs::exists(file_.string() + ".tmp"));
}

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

struct PlantedLink {
  const char* name;
  const char* suffix;  // beside registry.reg
  bool dangling;       // the link names a file that does not exist
};
void PrintTo(const PlantedLink& c, std::ostream* os) { *os << c.name; }

class PlantedLinkTest : public HiveFileTest, public ::testing::WithParamInterface<PlantedLink> {};

// Someone who could write in the folder once leaves a link where the store puts
// its lock or temporary file; a save must neither write through it nor create
// what it names.
TEST_P(PlantedLinkTest, SaveNeverWritesThroughIt) {
  fs::create_directories(folder_);
  const fs::path victim = temp_.path() / "victim";
  const std::string precious = "precious\n";
  if (!GetParam().dangling) {
    WriteWholeFile(victim, precious);
    fs::permissions(victim, fs::perms(0644));
  }
  fs::create_symlink(victim, file_.string() + GetParam().suffix);

  ASSERT_EQ(Set(*MakeStore(), "LastLocation", {reg::kSz, "x\0"s}), reg::kSuccess);
  EXPECT_EQ(Get(*MakeStore(), "LastLocation"), (Stored{reg::kSz, "x\0"s}));
  if (GetParam().dangling) {
    EXPECT_FALSE(fs::exists(fs::symlink_status(victim)));
  } else {
    EXPECT_EQ(ReadWholeFile(victim), precious);
    EXPECT_EQ(ModeOf(victim), 0644u);
  }
  EXPECT_FALSE(fs::is_symlink(file_.string() + ".lock"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(file_.string() + ".tmp")));
}

INSTANTIATE_TEST_SUITE_P(Names, PlantedLinkTest,
                         ::testing::Values(PlantedLink{"Temporary", ".tmp", false},
                                           PlantedLink{"Lock", ".lock", false},
                                           PlantedLink{"TemporaryDangling", ".tmp", true},
                                           PlantedLink{"LockDangling", ".lock", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Dot-files kept in a repository and linked in: the link stays, the file it
// names (through a relative link, then an absolute one) takes the new value.
TEST_F(HiveFileTest, LinkedHiveFileStaysALinkAndItsTargetIsUpdated) {
  const fs::path dotfiles = temp_.path() / "dotfiles";
  const fs::path real = dotfiles / "orlimar.reg";
  fs::create_directories(dotfiles);
  fs::create_directories(folder_);
  ASSERT_EQ(
      Set(*MakeHiveProfileStore("Orlimar", real.string()), "LastLocation", {reg::kSz, "old\0"s}),
      reg::kSuccess);
  fs::create_symlink(real, dotfiles / "hop");
  fs::create_symlink("../../dotfiles/hop", file_);

  auto store = MakeStore();
  ASSERT_EQ(Get(*store, "LastLocation"), (Stored{reg::kSz, "old\0"s}));
  ASSERT_EQ(Set(*store, "LastLocation", {reg::kSz, "new\0"s}), reg::kSuccess);

  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(fs::read_symlink(file_), "../../dotfiles/hop");
  EXPECT_TRUE(fs::is_symlink(dotfiles / "hop"));
  EXPECT_EQ(Get(*MakeHiveProfileStore("Orlimar", real.string()), "LastLocation"),
            (Stored{reg::kSz, "new\0"s}));
  EXPECT_EQ(ModeOf(real), 0600u);
  EXPECT_FALSE(fs::exists(real.string() + ".tmp"));
  EXPECT_FALSE(fs::exists(file_.string() + ".tmp"));
}

TEST_F(HiveFileTest, FolderOpenToOthersIsClosedBeforeTheFirstWrite) {
  fs::create_directories(folder_);
  fs::permissions(folder_, fs::perms(0777));
  ASSERT_EQ(Set(*MakeStore(), "LastLocation", {reg::kSz, "x\0"s}), reg::kSuccess);
  EXPECT_EQ(ModeOf(folder_), 0700u);
}

// A folder of another user's is not written in at all, and the reason is told.
TEST_F(HiveFileTest, FolderOfAnotherUserIsNotWrittenIn) {
  fs::path hive = "/registry.reg";  // the root folder: another user's, unless we are root
  if (geteuid() == 0) {
    fs::create_directories(folder_);
    ASSERT_EQ(chown(folder_.c_str(), 65534, 65534), 0);
    hive = file_;
  }
  auto store = MakeHiveProfileStore("Orlimar", hive.string());
  reg::Key key = 0;
  testing::internal::CaptureStderr();
  const reg::Status status = store->CreateKey(kApp, key);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, reg::kAccessDenied);
  EXPECT_FALSE(fs::exists(hive));
  EXPECT_FALSE(fs::exists(hive.string() + ".lock"));
  EXPECT_NE(said.find("belongs to another user"), std::string::npos) << said;
  EXPECT_NE(said.find(hive.string()), std::string::npos) << said;
}

TEST(HivePathTest, KeptInTheCompanysFolderOfTheConfigurationFolder) {
  EXPECT_EQ(HivePathIn("/x/conf"), "/x/conf/Quenwick Software/registry.reg");
  // No folder given: the home folder of the password database.
  EXPECT_TRUE(HivePathIn("").ends_with("/.config/Quenwick Software/registry.reg"));
}

// Fails one named call on files whose path ends as given, as a full disk or
// a failing device would.
class FailingCalls : public SystemCalls {
 public:
  FailingCalls(std::string call, std::string suffix)
      : call_(std::move(call)), suffix_(std::move(suffix)) {}
  bool armed = false;

  int Open(const char* path, int flags, mode_t mode) override {
    if (Fails("open", path)) return -1;
    const int fd = SystemCalls::Open(path, flags, mode);
    if (fd >= 0) paths_[fd] = path;
    return fd;
  }
  int Close(int fd) override {
    const std::string path = paths_[fd];
    paths_.erase(fd);
    const int result = SystemCalls::Close(fd);
    return Fails("close", path) ? -1 : result;
  }
  int Flock(int fd, int op) override {
    return Fails("flock", paths_[fd]) ? -1 : SystemCalls::Flock(fd, op);
  }
  ssize_t Read(int fd, void* buffer, size_t size) override {
    return Fails("read", paths_[fd]) ? -1 : SystemCalls::Read(fd, buffer, size);
  }
  ssize_t Write(int fd, const void* buffer, size_t size) override {
    if (!Fails("write", paths_[fd])) return SystemCalls::Write(fd, buffer, size);
    // Part of the bytes first, then nothing more, as a filling disk does.
    if (shortWritten_) return -1;
    shortWritten_ = true;
    return SystemCalls::Write(fd, buffer, size / 2);
  }
  int Fsync(int fd) override { return Fails("fsync", paths_[fd]) ? -1 : SystemCalls::Fsync(fd); }
  int Fchmod(int fd, mode_t mode) override {
    return Fails("fchmod", paths_[fd]) ? -1 : SystemCalls::Fchmod(fd, mode);
  }
  int Rename(const char* from, const char* to) override {
    return Fails("rename", from) ? -1 : SystemCalls::Rename(from, to);
  }
  int Mkdir(const char* path, mode_t mode) override {
    return Fails("mkdir", path) ? -1 : SystemCalls::Mkdir(path, mode);
  }
  int Fstat(int fd, struct stat* info) override {
    return Fails("fstat", paths_[fd]) ? -1 : SystemCalls::Fstat(fd, info);
  }

 private:
  bool Fails(const std::string& call, const std::string& path) {
    if (!armed || call != call_ || !path.ends_with(suffix_)) return false;
    errno = EIO;
    return true;
  }
  std::string call_;
  std::string suffix_;
  std::map<int, std::string> paths_;
  bool shortWritten_ = false;
};

struct FailingStep {
  const char* name;
  const char* call;
  const char* suffix;
  bool newFileInPlace;  // the step comes after the rename
};

class FailingStepTest : public HiveFileTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(FailingStepTest, LeavesTheOldFileOrTheNewOneAndIsReported) {
  const Stored oldValue{reg::kSz, "old\0"s};
  const Stored newValue{reg::kSz, "new\0"s};
  ASSERT_EQ(Set(*MakeStore(), "LastLocation", oldValue), reg::kSuccess);
  const std::string oldText = ReadWholeFile(file_);

  FailingCalls calls(GetParam().call, GetParam().suffix);
  auto store = MakeStore(calls);
  ASSERT_EQ(Get(*store, "LastLocation"), oldValue);
  calls.armed = true;
  testing::internal::CaptureStderr();
  EXPECT_NE(Set(*store, "LastLocation", newValue), reg::kSuccess);
  // The dialog stays silent; one line names the file and the system's reason.
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find(file_.string()), std::string::npos) << said;
  EXPECT_NE(said.find(std::strerror(EIO)), std::string::npos) << said;
  const Stored& expected = GetParam().newFileInPlace ? newValue : oldValue;
  EXPECT_EQ(Get(*store, "LastLocation"), expected);
  EXPECT_EQ(Get(*MakeStore(), "LastLocation"), expected);
  if (!GetParam().newFileInPlace) {
    EXPECT_EQ(ReadWholeFile(file_), oldText);
  }
  EXPECT_FALSE(fs::exists(file_.string() + ".tmp"));

  calls.armed = false;
  const Stored later{reg::kSz, "later\0"s};
  EXPECT_EQ(Set(*store, "LastLocation", later), reg::kSuccess);
  EXPECT_EQ(Get(*MakeStore(), "LastLocation"), later);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailingStepTest,
    ::testing::Values(FailingStep{"MakeFolder", "mkdir", "Quenwick Software", false},
                      FailingStep{"OpenLock", "open", ".lock", false},
                      FailingStep{"Lock", "flock", ".lock", false},
                      FailingStep{"ReRead", "read", "registry.reg", false},
                      FailingStep{"OpenTemporary", "open", ".tmp", false},
                      FailingStep{"ModeTemporary", "fchmod", ".tmp", false},
                      FailingStep{"WriteTemporary", "write", ".tmp", false},
                      FailingStep{"FlushTemporary", "fsync", ".tmp", false},
                      FailingStep{"CloseTemporary", "close", ".tmp", false},
                      FailingStep{"Rename", "rename", ".tmp", false},
                      FailingStep{"OpenFolder", "open", "Quenwick Software", false},
                      FailingStep{"StatFolder", "fstat", "Quenwick Software", false},
                      FailingStep{"FlushFolder", "fsync", "Quenwick Software", true}),
    named_rows::RowName<FailingStep>);

}  // namespace
