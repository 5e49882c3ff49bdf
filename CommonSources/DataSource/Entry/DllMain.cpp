// Module entry of the data source: dialogs, strings and error texts come from this module.

#include "ResourceLoader.h"
#include "ResourceModule.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (instance == nullptr) {
        return FALSE;
    }
    if (reason == DLL_PROCESS_ATTACH) {
        CommonCpp::SetResourceModule(instance);
        ResourceLoader::Instance()->SetModule(instance);
    }
    return TRUE;
}
