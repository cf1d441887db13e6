#include "support/config_scope.h"

#include "config/config.h"
#include "app/queue_controller.h"
#include "run/queue_file.h"
#include "support/temp_folder.h"
#include "text/catalogue.h"

#include <windows.h>

namespace {

void removeAll()
{
    DeleteFileW(ConfigScope::path().c_str());
    DeleteFileW((ConfigScope::path() + L".bak").c_str());
    for (int number = 2; number <= 20; ++number) {
        DeleteFileW((ConfigScope::path() + L"." + std::to_wstring(number) + L".bak").c_str());
    }
    DeleteFileW((ConfigScope::path() + L".tmp").c_str());
    // The queue is kept beside the configuration, and in the program.
    for (const std::wstring& name : {queueFilePath(), queueFilePath() + L".bak", queueFilePath() + L".2.bak"}) {
        DeleteFileW(name.c_str());
    }
    closeQueue();
}

} // namespace

ConfigScope::ConfigScope()
{
    removeAll();
}

ConfigScope::ConfigScope(const std::string& contents)
{
    removeAll();
    writeBytes(path(), contents);
}

ConfigScope::~ConfigScope()
{
    removeAll();
    currentLanguage = 0;
}

std::string ConfigScope::contents() const
{
    return readBytes(path());
}

std::wstring ConfigScope::path()
{
    return configFilePath();
}
