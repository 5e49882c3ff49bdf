#pragma once
// The scan resolutions: servers that send no MAX_RESOLUTION or STEP_RESOLUTION name their
// maximum and step under older keys.

#include "IntServerCap.h"

class ResolutionServerCap : public IntServerCap {
public:
    explicit ResolutionServerCap(const std::string& name);
    ~ResolutionServerCap() override;

    // MAX_RESOLUTION, else "ENG_RESOLUTION", else "MAX_X_RESOLUTION".
    bool GetMaxValue(int32_t& out, int32_t defaultValue,
                     const ScanAttributeWrapper& table) const override;
    // STEP_RESOLUTION, else "RES_STEP_SIZE".
    bool GetStepValue(int32_t& out, int32_t defaultValue,
                      const ScanAttributeWrapper& table) const override;
};
