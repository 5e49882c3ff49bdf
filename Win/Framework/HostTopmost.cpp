#include "HostTopmost.h"

#include "DataArg_UserInterface.h"

#include <string>

bool IsTopmostHost() {
    const std::string product = getApplicationProductName();
    return product.find("PaperPort") != std::string::npos ||
           product.find("eCopy") != std::string::npos;
}

void ApplyHostTopmostRule(HWND window) {
    if (IsTopmostHost()) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}
