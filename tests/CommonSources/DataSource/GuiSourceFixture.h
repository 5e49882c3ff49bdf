#pragma once
// The source fixture with the real windows: the data source's window factory is the Gui
// layer's and the simulated servers are shown. Only for tests that link the Gui layer.

#include "GuiWindowFactory.h"
#include "SourceFixture.h"

class GuiSourceFixture : public SourceFixture {
protected:
    void SetUp() override {
        SourceFixture::SetUp();
        DataArg_UserInterface::SetWindowFactory(GuiWindowFactory::Instance());
        ShowSimulatedServers();
    }
    void TearDown() override {
        SourceFixture::TearDown();
        DataArg_UserInterface::SetWindowFactory(nullptr);
    }
};
