#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace hvtest
{
// Sets (or, with nullopt, unsets) one environment variable and restores it.
class ScopedEnv
{
public:
    ScopedEnv(std::string name, std::optional<std::string> value) : mName(std::move(name))
    {
        if (const char* old = std::getenv(mName.c_str()))
            mOld = old;
        Apply(value);
    }
    ~ScopedEnv() { Apply(mOld); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Apply(const std::optional<std::string>& value)
    {
        if (value)
            setenv(mName.c_str(), value->c_str(), 1);
        else
            unsetenv(mName.c_str());
    }

    std::string mName;
    std::optional<std::string> mOld;
};
} // namespace hvtest
