// Orlimar.exe's resources, linked into this program and read back under Wine
// through the system's own calls: string 101, the manifest, the version
// record and the icon's sizes.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::string ResourceText(LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(nullptr, name, type);
  if (found == nullptr) return {};
  const void* data = LockResource(LoadResource(nullptr, found));
  return std::string(static_cast<const char*>(data), SizeofResource(nullptr, found));
}

TEST(Resources, String101IsTheAboutEntry) {
  wchar_t text[64] = {};
  ASSERT_GT(LoadStringW(nullptr, 101, text, 64), 0);
  EXPECT_STREQ(text, L"&About Orlimar...");
}

TEST(Resources, ManifestAsksForNoElevationAndNoCommonControls6) {
  const std::string manifest = ResourceText(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"),
            std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
  EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
  EXPECT_EQ(manifest.find("dependency"), std::string::npos);
}

class VersionRecord : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    block_.resize(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(block_.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block_.size()), block_.data()));
  }
  const void* Query(const wchar_t* what) {
    void* value = nullptr;
    UINT size = 0;
    return VerQueryValueW(block_.data(), what, &value, &size) ? value : nullptr;
  }
  std::wstring Text(const wchar_t* name) {
    const auto* text =
        static_cast<const wchar_t*>(Query((std::wstring(L"\\StringFileInfo\\040904b0\\") + name).c_str()));
    return text ? text : L"(missing)";
  }
  std::vector<BYTE> block_;
};

TEST_F(VersionRecord, FixedPartIsAnApplicationFor32BitWindowsVersion1_0_2_15) {
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\"));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(15, 2));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(15, 2));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionRecord, UsEnglishInUnicodeWithTheNamesAndNotices) {
  const auto* translation = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation"));
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);
  EXPECT_EQ(Text(L"FileVersion"), L"1.0.2.15");
  EXPECT_EQ(Text(L"ProductVersion"), L"1.0.2.15");
  EXPECT_EQ(Text(L"FileDescription"), L"Orlimar");
  EXPECT_EQ(Text(L"ProductName"), L"Orlimar");
  EXPECT_EQ(Text(L"InternalName"), L"Orlimar.exe");
  EXPECT_EQ(Text(L"OriginalFilename"), L"Orlimar.exe");
  EXPECT_EQ(Text(L"CompanyName"), L"Quenwick Software");
  EXPECT_EQ(Text(L"LegalCopyright"), L"Copyright (c) 2026 Quenwick Software, MIT License");
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct IconGroup {
  WORD reserved, type, count;
  IconGroupEntry entries[1];
};
#pragma pack(pop)

TEST(Resources, IconIsTheArtworkAt16_32And48Pixels) {
  const std::string group = ResourceText(MAKEINTRESOURCEW(128), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_GE(group.size(), sizeof(IconGroup));
  const auto* icons = reinterpret_cast<const IconGroup*>(group.data());
  std::set<int> sizes;
  for (WORD i = 0; i < icons->count; ++i) {
    EXPECT_EQ(icons->entries[i].width, icons->entries[i].height);
    sizes.insert(icons->entries[i].width);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
  for (int size : {16, 32, 48}) {
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON, size,
                             size, 0);
    EXPECT_NE(icon, nullptr) << size;
    if (icon) DestroyIcon(static_cast<HICON>(icon));
  }
}

}  // namespace
