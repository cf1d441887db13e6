// The per-user MSI in a Wine prefix of its own: install, Explorer's verb
// feeding the open window, an upgrade in place, uninstall. The packages
// come from the build (INSTALLER_MSI, INSTALLER_NEXT_MSI).
#include "e2e/frontend_driver.h"
#include "support/message_boxes.h"
#include "support/temp_folder.h"
#include "util/handles.h"
#include "util/paths.h"
#include "util/resource_ids.h"

#include <windows.h>
#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t* const UPGRADE_CODE = L"{BBE8A459-2E76-4E90-BD50-C044591DA080}";
const wchar_t* const VERB_KEY = L"shell\\ZozedivUzuvurodazEred.Queue";

std::wstring environment(const wchar_t* name)
{
    wchar_t value[4096] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return length > 0 && length < 4096 ? std::wstring(value, length) : std::wstring();
}

std::wstring knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    if (FAILED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        return {};
    }
    const UniqueTaskMemory<wchar_t> owned(path);
    return path;
}

long msiexec(const wchar_t* action, const std::wstring& package)
{
    return runToExit(L"msiexec.exe " + std::wstring(action) + L" " + inQuotes(package) + L" /qn");
}

std::wstring registryText(const std::wstring& key, const wchar_t* name)
{
    wchar_t value[2048] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

bool registryKeyExists(const std::wstring& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

// What Windows Installer (and so Apps & features) tells of the product
// installed under the upgrade code; empty when none is.
std::wstring installed(const wchar_t* property)
{
    wchar_t product[39] = {};
    if (MsiEnumRelatedProductsW(UPGRADE_CODE, 0, 0, product) != ERROR_SUCCESS) {
        return {};
    }
    wchar_t value[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    return MsiGetProductInfoW(product, property, value, &length) == ERROR_SUCCESS ? value : L"";
}

// The version a package carries in its name ("...-1.0.0-win64.msi").
std::wstring versionOf(const std::wstring& package)
{
    const size_t end = package.rfind(L"-win64.msi");
    const size_t start = package.rfind(L'-', end - 1);
    return end == std::wstring::npos || start == std::wstring::npos ? L"?" : package.substr(start + 1, end - start - 1);
}

std::vector<HWND> programWindows()
{
    std::vector<HWND> found;
    for (HWND window : topLevelWindows()) {
        if (classOf(window) == L"VeradurAzazorariDER" && IsWindowVisible(window)) {
            found.push_back(window);
        }
    }
    return found;
}

} // namespace

TEST(Installer, InstallsPerUserFeedsTheOpenWindowUpgradesInPlaceAndUninstallsCleanly)
{
    const std::wstring package = environment(L"INSTALLER_MSI");
    const std::wstring next = environment(L"INSTALLER_NEXT_MSI");
    ASSERT_TRUE(fileExists(package)) << "INSTALLER_MSI";
    ASSERT_TRUE(fileExists(next)) << "INSTALLER_NEXT_MSI";
    const std::wstring folder = knownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Zozediv Uzuvurodaz Ered";
    const std::wstring program = folder + L"\\zozediv_uzuvurodaz_ered.exe";
    const std::wstring shortcut = knownFolder(FOLDERID_Programs) + L"\\Zozediv Uzuvurodaz Ered.lnk";
    // What an earlier run may have left: the packages, and the files the
    // program made, which uninstalling keeps.
    msiexec(L"/x", next);
    msiexec(L"/x", package);
    SHFILEOPSTRUCTW removal = {};
    const std::wstring doubleNulled = folder + std::wstring(2, L'\0');
    removal.wFunc = FO_DELETE;
    removal.pFrom = doubleNulled.c_str();
    removal.fFlags = FOF_NO_UI;
    SHFileOperationW(&removal);

    // Without administrator rights, into the user's own programs folder.
    ASSERT_EQ(msiexec(L"/i", package), 0);
    EXPECT_EQ(installed(INSTALLPROPERTY_VERSIONSTRING), versionOf(package));
    EXPECT_EQ(installed(INSTALLPROPERTY_PUBLISHER), L"The Zozediv Uzuvurodaz Ered developers");
    EXPECT_FALSE(installed(INSTALLPROPERTY_PRODUCTICON).empty()) << "Apps & features shows the icon";
    EXPECT_TRUE(fileExists(program));
    EXPECT_TRUE(fileExists(folder + L"\\user-guide.txt"));
    EXPECT_FALSE(fileExists(folder + L"\\vuruzuz_odurevazu.exe")) << "never the engine";
    EXPECT_TRUE(fileExists(shortcut));
    for (const wchar_t* on : {L"SystemFileAssociations\\audio", L"SystemFileAssociations\\video",
             L"SystemFileAssociations\\.wav", L"SystemFileAssociations\\.mkv", L"Directory"}) {
        SCOPED_TRACE(on);
        const std::wstring verb = std::wstring(L"Software\\Classes\\") + on + L"\\" + VERB_KEY;
        EXPECT_EQ(registryText(verb, L"MUIVerb"), L"@" + program + L",-" + std::to_wstring(IDS_VERB_QUEUE));
        EXPECT_EQ(registryText(verb, L"MultiSelectModel"), L"Player");
        EXPECT_EQ(registryText(verb + L"\\command", nullptr), inQuotes(program) + L" \"%1\"");
    }

    // The program runs from there; files of the user's own sit beside it.
    writeBytes(folder + L"\\aliyun_config.json", "{\"access_key_id\": \"kept\", \"ui_lang\": \"en\"}");
    TempFolder talks;
    writeBytes(talks.file(L"one.wav"), "RIFF");
    writeBytes(talks.file(L"two.mp4"), "RIFF");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    std::wstring commandLine = inQuotes(program);
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
        &startup, &started));
    CloseHandle(started.hThread);
    const UniqueHandle opened(started.hProcess);
    HWND window = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        const std::vector<HWND> windows = programWindows();
        window = windows.empty() ? nullptr : windows.front();
        return window != nullptr && processOf(window) == started.dwProcessId;
    }, 30000));

    // Explorer's verb on a selection of two while the window is open: one
    // command line (MultiSelectModel=Player), handed to that window.
    std::wstring verb = registryText(L"Software\\Classes\\SystemFileAssociations\\audio\\" + std::wstring(VERB_KEY)
            + L"\\command", nullptr);
    verb.replace(verb.find(L"%1"), 2, talks.file(L"one.wav"));
    verb += L" " + inQuotes(talks.file(L"two.mp4"));
    EXPECT_EQ(runToExit(verb, 30000), 0);
    EXPECT_TRUE(waitUntil([&] {
        const std::vector<std::vector<std::wstring>> rows = queueRowsOf(window, opened.get());
        return rows.size() == 2 && rows[0][0] == L"one.wav" && rows[1][0] == L"two.mp4" && rows[0][1] == L"Waiting";
    }, 30000)) << "both in the open window, added and not started";
    EXPECT_EQ(programWindows().size(), 1u) << "no second window";
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(opened.get(), 30000), WAIT_OBJECT_0);

    // A newer version replaces the older in place and keeps the user's files.
    CreateDirectoryW((folder + L"\\logs").c_str(), nullptr);
    writeBytes(folder + L"\\logs\\a run.log", "x");
    CreateDirectoryW((folder + L"\\outputs").c_str(), nullptr);
    writeBytes(folder + L"\\outputs\\result.txt", "x");
    ASSERT_EQ(msiexec(L"/i", next), 0);
    EXPECT_EQ(installed(INSTALLPROPERTY_VERSIONSTRING), versionOf(next));
    EXPECT_NE(versionOf(next), versionOf(package));
    EXPECT_TRUE(fileExists(program));
    EXPECT_EQ(readBytes(folder + L"\\aliyun_config.json"), "{\"access_key_id\": \"kept\", \"ui_lang\": \"en\"}");
    EXPECT_TRUE(fileExists(folder + L"\\queue.json"));

    // Uninstalling removes what it installed and nothing the program made.
    ASSERT_EQ(msiexec(L"/x", next), 0);
    EXPECT_TRUE(installed(INSTALLPROPERTY_VERSIONSTRING).empty());
    EXPECT_FALSE(fileExists(program));
    EXPECT_FALSE(fileExists(folder + L"\\user-guide.txt"));
    EXPECT_FALSE(fileExists(shortcut));
    EXPECT_FALSE(registryKeyExists(L"Software\\Classes\\SystemFileAssociations\\audio\\" + std::wstring(VERB_KEY)));
    EXPECT_FALSE(registryKeyExists(L"Software\\Classes\\Directory\\" + std::wstring(VERB_KEY)));
    for (const wchar_t* kept : {L"aliyun_config.json", L"queue.json", L"logs\\a run.log", L"outputs\\result.txt"}) {
        EXPECT_TRUE(fileExists(folder + L"\\" + kept)) << kept;
    }
}
