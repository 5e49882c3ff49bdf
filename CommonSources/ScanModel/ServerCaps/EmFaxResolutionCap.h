#pragma once
// The resolutions of e-mail and internet-fax pages; a server that names none offers 200.

#include "IntServerCap.h"

class EmFaxResolutionCap : public IntServerCap {
public:
    explicit EmFaxResolutionCap(const std::string& name);
    ~EmFaxResolutionCap() override;

    int32_t GetCount() const override;
    int32_t GetCurrentIndex() const override;
    std::string GetValueAt(int32_t index) const override;

    // The server's list and range, else "200" alone.
    void LoadFromServer(const ScanAttributeWrapper& table, LocalizerIntf* localizer) override;
    int32_t GetResolutionAt(int32_t index) const;
};
