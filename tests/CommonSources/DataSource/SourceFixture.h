#pragma once
// Shared set-up of the tests that run the data source: the product's registry key is removed
// before and after each test, no simulated server answers unless a test says so, the server
// chooser never shows (a stand-in window implementation answers Cancel unless a test says
// otherwise), and a source left behind is unloaded the way the entry point would do it.

#include "AbstractSource.h"
#include "ChooserWindowIntf.h"
#include "DataArg_UserInterface.h"
#include "MainEntry.h"
#include "OrvexSimControl.h"
#include "ServerInfo.h"
#include "ServerList.h"
#include "TwainException.h"
#include "TwainTestApp.h"
#include "UiWindowFactoryIntf.h"
#include "XGPreferences.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

inline std::string ProductKeyPath() {
    return CommonCpp::XGPreferences::KeyPath("Halcyra", "Nimbrel", "5");
}

// Stores a server list whose only entry, selected, is the given address.
inline void StoreServerList(const std::string& address, const std::string& device = "Copier") {
    CommonCpp::XGPreferences store("Halcyra", "Nimbrel", "5",
                                   CommonCpp::XGPreferences::ScopeCurrentUser);
    ServerList servers;
    servers.Add(new ServerInfo(false, device, address, "", false));
    servers.Save(store);
}

// A fixture root without servers: every connection attempt fails.
inline void HideSimulatedServers() {
    OrvexSim_SetFixtureRoot("C:\\nimbrel-tests\\no-servers");
}

// The folder beside the simulator: "default" answers on this machine's addresses, any other
// server by its folder name.
inline void ShowSimulatedServers() {
    OrvexSim_SetFixtureRoot(nullptr);
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline void RemoveProductKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, ProductKeyPath().c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, ProductKeyPath().c_str());
}

// The stored text of a value of the product's key; "<missing>" when absent.
inline std::string StoredValue(const std::string& name) {
    char data[512] = {};
    DWORD size = sizeof(data);
    if (RegGetValueA(HKEY_CURRENT_USER, ProductKeyPath().c_str(), name.c_str(), RRF_RT_REG_SZ,
                     nullptr, data, &size) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return data;
}

// A window implementation without windows: the chooser gives the answer of a function, and
// there is no acquire window.
class ChooserStandInFactory : public UiWindowFactoryIntf {
public:
    explicit ChooserStandInFactory(std::function<int()> answer) : m_answer(std::move(answer)) {}

    AcquireWindowIntf* CreateAcquireJobsDialog(UiWindowIntf*, QuorvelWrapperIntf*, ScanPreferences&,
                                               Scanner*) override {
        throw TwainException(__FILE__, __LINE__, TWCC_BADPROTOCOL);
    }
    ChooserWindowIntf* CreateChooserDialog(UiWindowIntf*, const ServerList&, bool) override {
        return new Chooser(m_answer);
    }

private:
    class Chooser : public ChooserWindowIntf {
    public:
        explicit Chooser(const std::function<int()>& answer) : m_answer(answer) {}
        HWND GetHwnd() const override { return nullptr; }
        void Close() override { delete this; }
        bool IsDialogMessage(MSG*) override { return false; }
        void Activate() override {}
        void Deactivate() override {}
        void Update() override {}
        void Show() override {}
        int RunModal() override {
            const int result = m_answer();
            delete this;
            return result;
        }

    private:
        std::function<int()> m_answer;
    };

    std::function<int()> m_answer;
};

class SourceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductKey();
        OrvexSim_Reset();
        HideSimulatedServers();
        DataArg_UserInterface::SetWindowFactory(&chooserStandIn);
        ASSERT_EQ(nullptr, AbstractSource::Instance());
    }

    void TearDown() override {
        Unload();
        if (DataArg_UserInterface::GetWindowFactory() == &chooserStandIn) {
            DataArg_UserInterface::SetWindowFactory(nullptr);
        }
        OrvexSim_Reset();
        RemoveProductKey();
    }

    // Closes an open source and lets a kept one go, through the entry point.
    void Unload() {
        if (AbstractSource* source = AbstractSource::Instance()) {
            if (source->IsOpen()) {
                app.CloseSource();
            }
            TW_STATUS status;
            DS_Entry(&app.AppIdentity(), DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        }
        EXPECT_EQ(nullptr, AbstractSource::Instance());
    }

    TwainTestApp app{DS_Entry};
    // Stands in for the server chooser: its answer, and how often it was asked.
    std::function<int()> chooser = [] { return 2; };
    int chooserRuns = 0;
    ChooserStandInFactory chooserStandIn{[this] {
        ++chooserRuns;
        return chooser();
    }};
};
