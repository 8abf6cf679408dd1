// The profile and registry key operations the settings rely on, with the
// registry's own result codes, so the settings run on any store behind them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/interfaces/win_bool.h"

namespace reg {

using Status = std::int32_t;  // the registry's result codes
using ValueType = std::uint32_t;
using Key = std::uint32_t;  // an open key; 0 is never a valid key

inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidHandle = 6;
inline constexpr Status kWriteFault = 29;
inline constexpr Status kInvalidParameter = 87;
inline constexpr Status kMoreData = 234;

inline constexpr ValueType kNone = 0;
inline constexpr ValueType kSz = 1;
inline constexpr ValueType kExpandSz = 2;
inline constexpr ValueType kBinary = 3;
inline constexpr ValueType kDword = 4;

}  // namespace reg

// The current user's registry as the program sees it. Paths are relative to
// the current user's hive; names compare without regard to letter case.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // From now on the profile operations work in
  // Software\<company>\<profile name>.
  virtual void SetRegistryKey(const std::string& company) = 0;
  // Empty until SetRegistryKey.
  virtual const std::string& RegistryKey() const = 0;
  // The application's name, given when the store is made.
  virtual const std::string& ProfileName() const = 0;

  // Opens the section key (creating it and the application key when absent)
  // and reads a REG_DWORD of four bytes; anything else gives the default.
  virtual int GetProfileInt(const std::string& section, const std::string& entry,
                            int defaultValue) = 0;
  // Opens or creates the section key and stores the value as REG_DWORD.
  virtual BOOL WriteProfileInt(const std::string& section, const std::string& entry, int value) = 0;

  // Opens the key, creating it when absent (read and write access).
  virtual reg::Status CreateKey(const std::string& path, reg::Key& key) = 0;
  // As RegQueryValueExA: type may be null; data may be null to ask for the
  // size; a value larger than *size gives kMoreData with the size needed.
  virtual reg::Status QueryValueEx(reg::Key key, const std::string& name, reg::ValueType* type,
                                   unsigned char* data, std::uint32_t* size) = 0;
  // As RegSetValueExA: stores the bytes exactly as given.
  virtual reg::Status SetValueEx(reg::Key key, const std::string& name, reg::ValueType type,
                                 const unsigned char* data, std::uint32_t size) = 0;
  // As RegDeleteValueA: kFileNotFound when the key holds no such value.
  virtual reg::Status DeleteValue(reg::Key key, const std::string& name) = 0;
  virtual reg::Status CloseKey(reg::Key key) = 0;
};
