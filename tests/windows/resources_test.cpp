// What Windows reads from the game's executable before running it: the manifest, the version
// information and the icon, read back from the built veldrisa.exe (VELDRISA_GAME_EXE).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/wide_text.hpp"

namespace veldrisa {
namespace {

class GameExecutable : public ::testing::Test {
protected:
    void SetUp() override {
        const wchar_t* path = _wgetenv(L"VELDRISA_GAME_EXE");
        if (!path) GTEST_SKIP() << "VELDRISA_GAME_EXE names no game";
        file = path;
        module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(module) << "cannot read " << Utf8FromWide(file);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }
    std::string Resource(LPCWSTR type, LPCWSTR name) {
        HRSRC found = FindResourceW(module, name, type);
        if (!found) return {};
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(bytes, SizeofResource(module, found));
    }
    std::wstring file;
    HMODULE module = nullptr;
};

TEST_F(GameExecutable, CarriesAManifestForSharpTextUtf8AndTheCurrentControls) {
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty()) << "no manifest: Windows would blur the text at 125 % and more";
    for (const char* wanted :
         {"<dpiAwareness", "PerMonitorV2", "<dpiAware", "true/pm", "<activeCodePage", ">UTF-8<",
          "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
          // Windows 10 and 11, which would otherwise run the game as if written for Vista.
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "asInvoker"})
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
}

TEST_F(GameExecutable, CarriesTheGamesIconAndItsVersionInSpanish) {
    EXPECT_TRUE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON)) << "the icon Explorer shows";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, info.data()));
    const auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\0c0a04b0\\") + name;
        if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length))
            return std::string();
        return Utf8FromWide(std::wstring(text, length ? length - 1 : 0));
    };
    EXPECT_EQ(value(L"ProductName"), "La fortuna de Veldrisa");
    EXPECT_EQ(value(L"OriginalFilename"), "veldrisa.exe");
    EXPECT_EQ(value(L"FileVersion"), "1.0.0");
    EXPECT_NE(value(L"LegalCopyright").find("©"), std::string::npos) << "written in UTF-8, read as such";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
}

}  // namespace
}  // namespace veldrisa
