#include "UiWindowFactoryIntf.h"

#include "ProgressWindowIntf.h"
#include "WarningWindowIntf.h"

std::unique_ptr<ProgressWindowIntf> UiWindowFactoryIntf::StartProgressWindow() {
    return nullptr;
}

std::unique_ptr<WarningWindowIntf> UiWindowFactoryIntf::OpenWarningWindow(const std::string&) {
    return nullptr;
}

int UiWindowFactoryIntf::RunLoginDialog(UiWindowIntf*, std::string&, std::string&) {
    return 2;
}

void UiWindowFactoryIntf::RunErrorDialog(UiWindowIntf*, const std::string&) {}
