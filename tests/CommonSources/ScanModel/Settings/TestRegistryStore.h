#pragma once
// A preferences store on a key of its own, removed before and after each test, with a raw
// look at the values as other processes see them.

#include "XGPreferences.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TestRegistryStore {
public:
    TestRegistryStore() {
        DeleteTree();
        m_store = std::make_unique<CommonCpp::XGPreferences>(kCompany, kProduct, kVersion, 1);
    }
    ~TestRegistryStore() {
        m_store.reset();
        DeleteTree();
    }

    CommonCpp::XGPreferences& Store() { return *m_store; }

    // The stored text, read past the store; "<missing>" when there is no such value.
    std::string Raw(const std::string& name) const {
        DWORD size = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, Path().c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                         nullptr, &size) != ERROR_SUCCESS) {
            return "<missing>";
        }
        std::vector<char> data(size + 1, '\0');
        RegGetValueA(HKEY_CURRENT_USER, Path().c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                     data.data(), &size);
        return data.data();
    }

    static std::string Path() {
        return CommonCpp::XGPreferences::KeyPath(kCompany, kProduct, kVersion);
    }

private:
    static void DeleteTree() {
        RegDeleteTreeA(HKEY_CURRENT_USER,
                       ("Software\\" + std::string(kCompany) + "\\" + kProduct).c_str());
    }

    static constexpr const char* kCompany = "Halcyra";
    static constexpr const char* kProduct = "NimbrelSettingsTest";
    static constexpr const char* kVersion = "5";

    std::unique_ptr<CommonCpp::XGPreferences> m_store;
};
