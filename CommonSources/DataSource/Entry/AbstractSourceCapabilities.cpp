// AbstractSource: the values of the capabilities it negotiates with the application.

#include "AbstractSource.h"

#include "DataArg_Identity.h"
#include "TwainException.h"
#include "XGPreferencesIntf.h"
#include "zylImageFile.h"

namespace {

CapSupport::ValueList MakeList(std::initializer_list<unsigned short> values) {
    CapSupport::ValueList list;
    for (unsigned short value : values) {
        list.Append(value);
    }
    return list;
}

bool Contains(const CapSupport::ValueList& list, TW_UINT16 value) {
    for (std::uint32_t i = 0; i < list.GetCount(); ++i) {
        if (list.GetAt(i) == value) {
            return true;
        }
    }
    return false;
}

void RequireBadValueUnless(bool valid, const char* file, int line) {
    if (!valid) {
        throw TwainException(file, line, TWCC_BADVALUE);
    }
}

void RequireAllIn(const CapSupport::ValueList& values, const CapSupport::ValueList& supported,
                  const char* file, int line) {
    for (std::uint32_t i = 0; i < values.GetCount(); ++i) {
        RequireBadValueUnless(Contains(supported, values.GetAt(i)), file, line);
    }
}

} // namespace

void AbstractSource::Remember(TW_UINT16 capabilityId, int value) {
    if (CommonCpp::XGPreferencesIntf* store = GetPreferences()) {
        store->SetInt(GetIdentityArg()->GetKey(capabilityId), value);
    }
}

// ICAP_XFERMECH

void AbstractSource::SetTransferMechanismDefaults() {
    SourceState& state = *m_state;
    state.transferMechanisms = MakeList({TWSX_NATIVE, TWSX_FILE, TWSX_MEMORY});
    state.transferMechanismDefault = state.transferMechanisms.GetAt(0);
    state.transferMechanismCurrent = state.transferMechanismDefault;
}

void AbstractSource::SetTransferMechanismEnumeration(const ValueList& values) {
    RequireBadValueUnless(values.GetCount() > 0, __FILE__, __LINE__);
    for (std::uint32_t i = 0; i < values.GetCount(); ++i) {
        RequireBadValueUnless(values.GetAt(i) <= TWSX_MEMORY, __FILE__, __LINE__);
    }
    m_state->transferMechanisms = values;
}

void AbstractSource::SetTransferMechanismCurrent(TW_UINT16 value) {
    RequireBadValueUnless(value <= TWSX_MEMORY, __FILE__, __LINE__);
    m_state->transferMechanismCurrent = value;
    Remember(ICAP_XFERMECH, value);
}

TW_UINT16 AbstractSource::GetTransferMechanismCurrent() const {
    return m_state->transferMechanismCurrent;
}

TW_UINT16 AbstractSource::GetTransferMechanismDefault() const {
    return m_state->transferMechanismDefault;
}

CapSupport::ValueList AbstractSource::GetTransferMechanismAvailable() const {
    return m_state->transferMechanisms;
}

void AbstractSource::ResetTransferMechanism() {
    SetTransferMechanismDefaults();
    Remember(ICAP_XFERMECH, m_state->transferMechanismCurrent);
}

// ICAP_PIXELFLAVOR

void AbstractSource::SetPixelFlavorDefaults() {
    SourceState& state = *m_state;
    state.pixelFlavors = MakeList({TWPF_CHOCOLATE, TWPF_VANILLA});
    state.pixelFlavorDefault = TWPF_CHOCOLATE;
    state.pixelFlavorCurrent = state.pixelFlavorDefault;
}

void AbstractSource::SetPixelFlavorCurrent(TW_UINT16 value) {
    RequireBadValueUnless(value == TWPF_CHOCOLATE || value == TWPF_VANILLA, __FILE__, __LINE__);
    m_state->pixelFlavorCurrent = value;
    Remember(ICAP_PIXELFLAVOR, value);
}

CapSupport::ValueList AbstractSource::GetPixelFlavorAvailable() const {
    return m_state->pixelFlavors;
}

TW_UINT16 AbstractSource::GetPixelFlavorCurrent() const {
    // Files are written the way their formats store pixels; the stored choice waits for the
    // next native or memory transfer.
    if (m_state->transferMechanismCurrent == TWSX_FILE) {
        return TWPF_VANILLA;
    }
    return m_state->pixelFlavorCurrent;
}

TW_UINT16 AbstractSource::GetPixelFlavorDefault() const {
    return m_state->pixelFlavorDefault;
}

void AbstractSource::ResetPixelFlavor() {
    SetPixelFlavorDefaults();
    Remember(ICAP_PIXELFLAVOR, m_state->pixelFlavorCurrent);
}

// CAP_XFERCOUNT

TW_INT16 AbstractSource::GetTransferCountAvailable() const {
    return m_state->transferCountAvailable;
}

TW_INT16 AbstractSource::SetTransferCountDesired(TW_INT16 count) {
    RequireBadValueUnless(count == -1 || count >= 1, __FILE__, __LINE__);
    m_state->transferCountDesired = count;
    return count;
}

TW_INT16 AbstractSource::GetTransferCountDesired() const {
    return m_state->transferCountDesired;
}

TW_INT16 AbstractSource::GetTransferCountDefault() const {
    return m_state->transferCountDefault;
}

void AbstractSource::ResetTransferCount() {
    m_state->transferCountDefault = -1;
    m_state->transferCountDesired = m_state->transferCountDefault;
}

// ICAP_IMAGEFILEFORMAT

void AbstractSource::SetImageFileFormatEnumeration(const ValueList& values) {
    m_state->imageFileFormat.SetEnumeration(values);
}

void AbstractSource::SetImageFileFormatCurrent(TW_UINT16 value) {
    m_state->imageFileFormat.SetCurrent(value);
}

CapSupport::ValueList AbstractSource::GetImageFileFormatAvailable() const {
    return m_state->imageFileFormat.GetAvailable();
}

TW_UINT16 AbstractSource::GetImageFileFormatCurrent() const {
    return m_state->imageFileFormat.GetCurrent();
}

TW_UINT16 AbstractSource::GetImageFileFormatDefault() const {
    return m_state->imageFileFormat.GetDefault();
}

// ICAP_COMPRESSION

compressionStruct* AbstractSource::CurrentCompressionRow() const {
    const TW_UINT16 format = m_state->imageFileFormat.GetCurrent();
    if (format >= m_state->compressions.GetCount()) {
        return nullptr;
    }
    return m_state->compressions.ElementAt(format);
}

bool AbstractSource::IsCompressionFixedToNone() const {
    const TW_UINT16 mechanism = m_state->transferMechanismCurrent;
    return mechanism == TWSX_NATIVE || mechanism == TWSX_MEMORY ||
           CurrentCompressionRow() == nullptr;
}

void AbstractSource::SetCompressionEnumeration(const ValueList& values) {
    compressionStruct* row = CurrentCompressionRow();
    RequireBadValueUnless(row != nullptr, __FILE__, __LINE__);
    for (std::uint32_t i = 0; i < values.GetCount(); ++i) {
        RequireBadValueUnless(Contains(row->supported, values.GetAt(i)), __FILE__, __LINE__);
    }
    row->allowed = values;
}

void AbstractSource::SetCompressionCurrent(TW_UINT16 value) {
    if (IsCompressionFixedToNone()) {
        // Checked only: the file format's own compression waits for the next file transfer.
        RequireBadValueUnless(value == TWCP_NONE, __FILE__, __LINE__);
    } else {
        compressionStruct* row = CurrentCompressionRow();
        RequireBadValueUnless(Contains(row->supported, value), __FILE__, __LINE__);
        row->current = value;
    }
    Remember(ICAP_COMPRESSION, value);
}

CapSupport::ValueList AbstractSource::GetCompressionAvailable() const {
    if (IsCompressionFixedToNone()) {
        return MakeList({TWCP_NONE});
    }
    return CurrentCompressionRow()->allowed;
}

TW_UINT16 AbstractSource::GetCompressionCurrent() const {
    return IsCompressionFixedToNone() ? TWCP_NONE : CurrentCompressionRow()->current;
}

TW_UINT16 AbstractSource::GetCompressionDefault() const {
    return IsCompressionFixedToNone() ? TWCP_NONE : CurrentCompressionRow()->defaultValue;
}

// ICAP_PIXELTYPE

void AbstractSource::SetPixelTypeEnumeration(const ValueList& values) {
    RequireAllIn(values, m_state->pixelTypesSupported, __FILE__, __LINE__);
    m_state->pixelTypesAvailable = values;
}

void AbstractSource::SetPixelTypeCurrent(TW_UINT16 value) {
    // Any pixel type the server offers, whether the application's list still names it or not.
    RequireBadValueUnless(Contains(m_state->pixelTypesSupported, value), __FILE__, __LINE__);
    m_state->pixelTypeCurrent = value;
}

CapSupport::ValueList AbstractSource::GetPixelTypeAvailable() {
    if (zylImageFile* page = GetCurrentPageImage()) {
        return MakeList({page->GetPixelType()});
    }
    return m_state->pixelTypesAvailable;
}

TW_UINT16 AbstractSource::GetPixelTypeCurrent() {
    if (zylImageFile* page = GetCurrentPageImage()) {
        return page->GetPixelType();
    }
    return m_state->pixelTypeCurrent;
}

TW_UINT16 AbstractSource::GetPixelTypeDefault() {
    if (zylImageFile* page = GetCurrentPageImage()) {
        return page->GetPixelType();
    }
    return m_state->pixelTypeDefault;
}

void AbstractSource::ResetPixelType() {
    SourceState& state = *m_state;
    // Back to what the connection chose from the server's colour modes; a server whose current
    // mode names no pixel type gets its first one, never one it does not offer.
    if (!Contains(state.pixelTypesSupported, state.pixelTypeDefault) &&
        state.pixelTypesSupported.GetCount() > 0) {
        state.pixelTypeDefault = state.pixelTypesSupported.GetAt(0);
    }
    state.pixelTypeCurrent = state.pixelTypeDefault;
    state.pixelTypesAvailable = state.pixelTypesSupported;
    Remember(ICAP_PIXELTYPE, state.pixelTypeCurrent);
}

// ICAP_BITDEPTH

void AbstractSource::SetBitDepthDefaults() {
    static const unsigned short kBitDepths[] = {1, 8, 24, 1, 24, 32, 24, 32, 24};
    CommonTwain::SimpleValArray<bitDepthStruct> rows;
    for (unsigned short depth : kBitDepths) {
        bitDepthStruct row;
        row.current = depth;
        row.defaultValue = depth;
        row.allowed.Append(depth);
        row.supported.Append(depth);
        rows.Append(row);
    }
    m_state->bitDepths = rows;
}

bitDepthStruct& AbstractSource::CurrentBitDepthRow() const {
    // Pixel types come from the server's colour modes only, all of them rows of the table.
    const TW_UINT16 pixelType = m_state->pixelTypeCurrent;
    if (pixelType >= m_state->bitDepths.GetCount()) {
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    return *m_state->bitDepths.ElementAt(pixelType);
}

void AbstractSource::SetBitDepthEnumeration(const ValueList& values) {
    bitDepthStruct& row = CurrentBitDepthRow();
    RequireAllIn(values, row.supported, __FILE__, __LINE__);
    row.allowed = values;
}

void AbstractSource::SetBitDepthCurrent(TW_UINT16 value) {
    bitDepthStruct& row = CurrentBitDepthRow();
    RequireBadValueUnless(Contains(row.supported, value), __FILE__, __LINE__);
    row.current = value;
    Remember(ICAP_BITDEPTH, value);
}

CapSupport::ValueList AbstractSource::GetBitDepthAvailable() {
    if (zylImageFile* page = GetCurrentPageImage()) {
        return MakeList({page->GetBitsPerPixel()});
    }
    return CurrentBitDepthRow().allowed;
}

TW_UINT16 AbstractSource::GetBitDepthCurrent() {
    if (zylImageFile* page = GetCurrentPageImage()) {
        return page->GetBitsPerPixel();
    }
    return CurrentBitDepthRow().current;
}

TW_UINT16 AbstractSource::GetBitDepthDefault() {
    if (zylImageFile* page = GetCurrentPageImage()) {
        return page->GetBitsPerPixel();
    }
    return CurrentBitDepthRow().defaultValue;
}

void AbstractSource::ResetBitDepth() {
    SetBitDepthDefaults();
    Remember(ICAP_BITDEPTH, CurrentBitDepthRow().current);
}

// Custom 0x8002, CAP_UICONTROLLABLE, CAP_SUPPORTEDCAPS

TW_UINT16 AbstractSource::GetShowAcquireGUI() const {
    return m_state->showAcquireGUI;
}

void AbstractSource::SetShowAcquireGUI(TW_UINT16 value) {
    m_state->showAcquireGUI = value;
}

TW_UINT16 AbstractSource::GetUIControllable() const {
    return m_state->uiControllable;
}

CapSupport::ValueList AbstractSource::GetSupportedCaps() const {
    return m_state->supportedCaps;
}
