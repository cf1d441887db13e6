#include "util/paths.h"

#include <gtest/gtest.h>
#include <windows.h>

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
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}
