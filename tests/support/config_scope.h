// Puts a chosen aliyun_config.json beside the test program for one test and
// removes it afterwards, and with it any queue.json and the queue in memory.
#pragma once

#include <string>

class ConfigScope {
public:
    // Without contents: no file at all.
    ConfigScope();
    explicit ConfigScope(const std::string& contents);
    ~ConfigScope();
    ConfigScope(const ConfigScope&) = delete;
    ConfigScope& operator=(const ConfigScope&) = delete;

    std::string contents() const;
    static std::wstring path();
};
