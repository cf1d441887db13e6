#include "text/catalogue.h"
#include "util/paths.h"
#include "util/resource_ids.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

TEST(Release, TheProgramCarriesItsNameAndVersion)
{
    const std::wstring program = parentDirectory(executableDirectory()) + L"\\bin\\zozediv_uzuvurodaz_ered.exe";
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &unused);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, data.data()));
    auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        return VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) && value != nullptr
            ? std::wstring(value)
            : std::wstring();
    };
    EXPECT_EQ(text(L"ProductName"), L"Zozediv Uzuvurodaz Ered");
    EXPECT_EQ(text(L"ProductVersion"), L"1.0.0");
    EXPECT_FALSE(text(L"FileDescription").empty());
    EXPECT_NE(text(L"LegalCopyright").find(L"Zozediv Uzuvurodaz Ered"), std::wstring::npos);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

namespace {

std::string manifestOf(const std::wstring& program)
{
    HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (image == nullptr) {
        return {};
    }
    std::string text;
    if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST); found != nullptr) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
        text.assign(bytes, SizeofResource(image, found));
    }
    FreeLibrary(image);
    return text;
}

} // namespace

TEST(Release, TheManifestAsksForWhatAWindows10ProgramNeeds)
{
    const std::string manifest =
        manifestOf(parentDirectory(executableDirectory()) + L"\\bin\\zozediv_uzuvurodaz_ered.exe");
    ASSERT_FALSE(manifest.empty());
    for (const char* wanted : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>", ">true</longPathAware>",
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
             "level=\"asInvoker\""}) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
    EXPECT_EQ(manifestOf(executableDirectory() + L"\\window_tests.exe"), manifest)
        << "the window's tests run under the same one";
}

TEST(Release, ExplorersVerbReadsAsTheCatalogueInEveryLanguage)
{
    const std::wstring program = parentDirectory(executableDirectory()) + L"\\bin\\zozediv_uzuvurodaz_ered.exe";
    HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    // String tables are blocks of sixteen entries; the verb's block holds it at its place in it.
    const LANGID languages[LANGUAGE_COUNT] = {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
        MAKELANGID(LANG_KOREAN, SUBLANG_DEFAULT), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN),
        MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)};
    for (LanguageIndex language = 0; language < LANGUAGE_COUNT; ++language) {
        HRSRC block = FindResourceExW(image, RT_STRING, MAKEINTRESOURCEW(IDS_VERB_QUEUE / 16 + 1), languages[language]);
        ASSERT_NE(block, nullptr) << language;
        const wchar_t* entry = static_cast<const wchar_t*>(LockResource(LoadResource(image, block)));
        for (int skip = 0; skip < IDS_VERB_QUEUE % 16; ++skip) {
            entry += 1 + *entry; // each entry: its length, then its units
        }
        EXPECT_EQ(std::wstring(entry + 1, *entry), uiTextIn(language, T_VERB_QUEUE)) << language;
    }
    FreeLibrary(image);
}
