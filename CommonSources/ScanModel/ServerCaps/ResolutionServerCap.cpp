#include "ResolutionServerCap.h"

ResolutionServerCap::ResolutionServerCap(const std::string& name) : IntServerCap(name) {}

ResolutionServerCap::~ResolutionServerCap() = default;

bool ResolutionServerCap::GetMaxValue(int32_t& out, int32_t defaultValue,
                                      const ScanAttributeWrapper& table) const {
    return IntServerCap::GetMaxValue(out, defaultValue, table) ||
           GetIntAttribute("ENG_RESOLUTION", out, defaultValue, table) ||
           GetIntAttribute("MAX_X_RESOLUTION", out, defaultValue, table);
}

bool ResolutionServerCap::GetStepValue(int32_t& out, int32_t defaultValue,
                                       const ScanAttributeWrapper& table) const {
    return IntServerCap::GetStepValue(out, defaultValue, table) ||
           GetIntAttribute("RES_STEP_SIZE", out, defaultValue, table);
}
