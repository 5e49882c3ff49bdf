// Module entry of the data source: dialogs, strings and error texts come from this module,
// and the user-interface handler makes its windows through the Gui layer's factory.

#include "DataArg_UserInterface.h"
#include "GuiWindowFactory.h"
#include "ResourceLoader.h"
#include "ResourceModule.h"
#include "ZylScrollText.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (instance == nullptr) {
        return FALSE;
    }
    if (reason == DLL_PROCESS_ATTACH) {
        CommonCpp::SetResourceModule(instance);
        ResourceLoader::Instance()->SetModule(instance);
        DataArg_UserInterface::SetWindowFactory(GuiWindowFactory::Instance());
    } else if (reason == DLL_PROCESS_DETACH) {
        // The class's window procedure goes with the module (the tool tip's own instance
        // unregisters its class).
        UnregisterClassA(ZylScrollText::kClassName, instance);
    }
    return TRUE;
}
