#include "ScannerSupport.h"

#include "ResourceLoader.h"
#include "ScannerUiIntf.h"

namespace scanner_support {

std::string WithName(int stringId, const std::string& name) {
    std::string text = ResourceLoader::Instance()->LoadString(stringId);
    const std::string::size_type at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, name);
    }
    return text;
}

WaitText::WaitText(ScannerUiIntf* ui, const std::string& text) : m_ui(ui) {
    if (m_ui) {
        m_ui->ShowWarning(text);
    }
}

WaitText::~WaitText() {
    if (m_ui) {
        m_ui->CloseWarning();
    }
}

} // namespace scanner_support
