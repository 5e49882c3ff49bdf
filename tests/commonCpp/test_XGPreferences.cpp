#include "XGError.h"
#include "XGPreferences.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <memory>
#include <string>

using CommonCpp::XGPreferences;

namespace {

const char* const TestCompany = "NimbrelTestCo";
const char* const TestProduct = "PrefsTest";

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::string RawValue(HKEY root, const std::string& path, const std::string& name) {
    char data[64] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    if (RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_ANY, &type, data, &size) !=
        ERROR_SUCCESS) {
        return "<missing>";
    }
    return type == REG_SZ ? std::string(data) : "<not REG_SZ>";
}

// A store under a company key of its own, removed with everything below it.
class Preferences : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, CompanyPath().c_str());
        m_store = std::make_unique<XGPreferences>(TestCompany, TestProduct, "1",
                                                  XGPreferences::ScopeCurrentUser);
    }
    void TearDown() override {
        m_store.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, CompanyPath().c_str());
    }
    static std::string CompanyPath() { return std::string("Software\\") + TestCompany; }
    static std::string StorePath() { return CompanyPath() + "\\" + TestProduct + "\\1"; }

    std::unique_ptr<XGPreferences> m_store;
};

} // namespace

TEST_F(Preferences, KeyPathAndScope) {
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, StorePath()));
    EXPECT_EQ("Software\\Halcyra\\Nimbrel\\5", XGPreferences::KeyPath("Halcyra", "Nimbrel", "5"));
    EXPECT_EQ("Software\\Co\\Product", XGPreferences::KeyPath("Co", "Product", ""));

    {
        const XGPreferences unversioned(TestCompany, "NoVersion", "", 1);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, CompanyPath() + "\\NoVersion"));
    }

    // Any scope but 1 is the machine.
    const std::string machinePath = CompanyPath() + "\\Machine";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, CompanyPath().c_str());
    {
        XGPreferences machine(TestCompany, "Machine", "", XGPreferences::ScopeLocalMachine);
        EXPECT_EQ(0, machine.SetString("where", "machine"));
    }
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, machinePath));
    EXPECT_EQ("machine", RawValue(HKEY_LOCAL_MACHINE, machinePath, "where"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, machinePath));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, CompanyPath().c_str());
}

TEST_F(Preferences, ExistingKeyIsOpened) {
    HKEY key = nullptr;
    const std::string path = CompanyPath() + "\\Existing";
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const char text[] = "kept";
    RegSetValueExA(key, "value", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(key);

    const XGPreferences store(TestCompany, "Existing", "", 1);
    EXPECT_EQ("kept", store.GetStringOrEmpty("value"));
}

TEST_F(Preferences, StoredTexts) {
    m_store->SetInt("int", -42);
    m_store->SetInt("min", INT_MIN);
    m_store->SetBool("yes", true);
    m_store->SetBool("no", false);
    m_store->SetDouble("double", 2.5);
    EXPECT_EQ(0, m_store->SetString("text", "hello"));
    const struct {
        const char* name;
        const char* text;
    } cases[] = {{"int", "-42"},  {"min", "-2147483648"}, {"yes", "true"},
                 {"no", "false"}, {"double", "2.5"},      {"text", "hello"}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, RawValue(HKEY_CURRENT_USER, StorePath(), c.name)) << c.name;
    }
}

TEST_F(Preferences, TypedReadRules) {
    const struct {
        const char* stored; // null: no value
        bool boolValue;
        bool boolFound;
        int intValue;
        bool intFound;
        double doubleValue;
        bool doubleFound;
    } cases[] = {
        // Defaults are true, 99 and 0.5.
        {nullptr, true, false, 99, false, 0.5, false},
        {"", true, true, 99, true, 0.5, true}, // present but empty: default, found
        {"true", true, true, 99, false, 0.5, false},
        {"false", false, true, 99, false, 0.5, false},
        {"True", true, false, 99, false, 0.5, false}, // case matters
        {"-7", true, false, -7, true, -7.0, true},
        {"12abc", true, false, 99, false, 0.5, false}, // trailing characters
        {"2147483647", true, false, 2147483647, true, 2147483647.0, true},
        {"99999999999", true, false, 99, false, 99999999999.0, true}, // no 32-bit integer
        {"1.25", true, false, 99, false, 1.25, true},
        {"1e3", true, false, 99, false, 1000.0, true},
        {"abc", true, false, 99, false, 0.5, false},
    };
    for (const auto& c : cases) {
        const std::string label = c.stored != nullptr ? c.stored : "<none>";
        m_store->DeleteValue("v");
        if (c.stored != nullptr) {
            m_store->SetString("v", c.stored);
        }
        bool found = !c.boolFound;
        EXPECT_EQ(c.boolValue, m_store->GetBool("v", found, true)) << label;
        EXPECT_EQ(c.boolFound, found) << label;
        found = !c.intFound;
        EXPECT_EQ(c.intValue, m_store->GetInt("v", found, 99)) << label;
        EXPECT_EQ(c.intFound, found) << label;
        found = !c.doubleFound;
        EXPECT_EQ(c.doubleValue, m_store->GetDouble("v", found, 0.5)) << label;
        EXPECT_EQ(c.doubleFound, found) << label;

        EXPECT_EQ(c.boolValue, m_store->GetBoolByValue("v", true)) << label;
        EXPECT_EQ(c.intValue, m_store->GetIntByValue("v", 99)) << label;
        EXPECT_EQ(c.intValue, m_store->GetInt("v", 99)) << label;
        EXPECT_EQ(c.doubleValue, m_store->GetDoubleByValue("v", 0.5)) << label;
    }
}

TEST_F(Preferences, StringsReadBackWhole) {
    for (const std::size_t length : {0u, 1u, 254u, 255u, 256u, 300u, 5000u, 70000u}) {
        std::string value(length, 'p');
        for (std::size_t i = 0; i < length; i += 37) {
            value[i] = static_cast<char>('A' + i % 26);
        }
        ASSERT_EQ(0, m_store->SetString("long", value)) << length;
        bool found = false;
        EXPECT_EQ(value, m_store->QueryString("long", found, "default")) << length;
        EXPECT_TRUE(found) << length;
        EXPECT_EQ(value, m_store->GetStringByValue("long", "default")) << length;
    }
}

TEST_F(Preferences, MissingStringsAndDeleting) {
    bool found = true;
    EXPECT_EQ("fallback", m_store->QueryString("absent", found, "fallback"));
    EXPECT_FALSE(found);
    found = true;
    EXPECT_EQ("", m_store->GetString("absent", found));
    EXPECT_FALSE(found);
    EXPECT_EQ("", m_store->GetStringOrEmpty("absent"));

    // The empty name is the key's own unnamed value.
    m_store->SetString("", "unnamed");
    EXPECT_EQ("unnamed", m_store->GetStringOrEmpty(""));

    m_store->SetString("gone", "soon");
    EXPECT_EQ(ERROR_SUCCESS, m_store->DeleteValue("gone"));
    EXPECT_EQ("fallback", m_store->GetStringByValue("gone", "fallback"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, m_store->DeleteValue("gone"));
}

TEST_F(Preferences, KeyThatCannotBeMadeThrows) {
    // A volatile parent takes no lasting subkey.
    HKEY parent = nullptr;
    const std::string parentPath = CompanyPath() + "\\Volatile";
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, parentPath.c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent, nullptr));
    RegCloseKey(parent);
    try {
        XGPreferences store(TestCompany, "Volatile", "lasting", 1);
        FAIL() << "no error";
    } catch (const CommonCpp::XGError& e) {
        char message[CommonCpp::XGPostError::TextSize];
        e.GetMessageText(message, sizeof message);
        // The test program's own message resource answers the code.
        EXPECT_STREQ("Cannot open the settings key", message);
    }
}
