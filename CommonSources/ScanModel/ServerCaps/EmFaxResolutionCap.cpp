#include "EmFaxResolutionCap.h"

namespace {

const char* const kFallbackResolution = "200";

} // namespace

EmFaxResolutionCap::EmFaxResolutionCap(const std::string& name) : IntServerCap(name) {}

EmFaxResolutionCap::~EmFaxResolutionCap() = default;

int32_t EmFaxResolutionCap::GetCount() const {
    return ServerCap::GetCount();
}

int32_t EmFaxResolutionCap::GetCurrentIndex() const {
    return ServerCap::GetCurrentIndex();
}

std::string EmFaxResolutionCap::GetValueAt(int32_t index) const {
    return ServerCap::GetValueAt(index);
}

void EmFaxResolutionCap::LoadFromServer(const ScanAttributeWrapper& table,
                                        LocalizerIntf* localizer) {
    Clear();
    const std::string current = LoadCurrentValue(table);
    LoadValueList(table, localizer);
    LoadRangeList(table);
    SetCurrentByName(current);
    if (GetCount() == 0) {
        Append(kFallbackResolution, kFallbackResolution);
        SetCurrentByName(kFallbackResolution);
    }
}

int32_t EmFaxResolutionCap::GetResolutionAt(int32_t index) const {
    return GetIntValueAt(index);
}
