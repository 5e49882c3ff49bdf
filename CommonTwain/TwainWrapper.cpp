#include "TwainWrapper.h"

#include "ContainerMemory.h"
#include "Exception.h"
#include "STR_value32.h"
#include "SafeHandle.h"
#include "TW_Fix32.h"
#include "TW_OneValue.h"
#include "TwainWrapperExceptions.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace CommonTwain {

using namespace ContainerMemory;

// A container a source returned: owned from the moment it arrives, locked while read, and
// read only within its block.
class CapabilityAnswer {
public:
    explicit CapabilityAnswer(TW_HANDLE handle)
        : m_handle(static_cast<HGLOBAL>(handle), 0),
          m_locker(handle != nullptr ? std::make_unique<CommonCpp::HandleLocker>(m_handle)
                                     : nullptr) {}

    bool Has(std::size_t bytes) const { return m_locker != nullptr && bytes <= m_handle.GetSize(); }
    const unsigned char* Bytes() const {
        return static_cast<const unsigned char*>(m_locker->GetPointer());
    }
    TW_UINT16 U16(std::size_t offset) const { return ReadU16(Bytes(), offset); }
    TW_UINT32 U32(std::size_t offset) const { return ReadU32(Bytes(), offset); }

    // Item type of the container; 0xFFFF when the block cannot hold one.
    TW_UINT16 ItemType() const { return Has(sizeof(TW_UINT16)) ? U16(0) : 0xFFFF; }

    // The index-th item of an enumeration, when the block holds it.
    bool EnumItem(TW_UINT32 index, const unsigned char*& item) const {
        const std::size_t itemsAt = offsetof(TW_ENUMERATION, ItemList);
        const unsigned size = TW_Container::ItemSizeOf(ItemType());
        if (size == 0 || !Has(itemsAt) || index >= U32(offsetof(TW_ENUMERATION, NumItems)) ||
            !Has(itemsAt + (std::uint64_t{index} + 1) * size)) {
            return false;
        }
        item = Bytes() + itemsAt + std::size_t{index} * size;
        return true;
    }

private:
    CommonCpp::SafeHandle m_handle;
    std::unique_ptr<CommonCpp::HandleLocker> m_locker;
};

namespace {

const char* const WrapperSource = "CommonTwain/TwainWrapper";

const char* const ConditionCodeNames[] = {
    "TWCC_SUCCESS",        "TWCC_BUMMER",          "TWCC_LOWMEMORY",       "TWCC_NODS",
    "TWCC_MAXCONNECTIONS", "TWCC_OPERATIONERROR",  "TWCC_BADCAP",          "unknown cc(7)",
    "unknown cc(8)",       "TWCC_BADPROTOCOL",     "TWCC_BADVALUE",        "TWCC_SEQERROR",
    "TWCC_BADDEST",        "TWCC_CAPUNSUPPORTED",  "TWCC_CAPBADOPERATION", "TWCC_CAPSEQERROR",
    "TWCC_DENIED",         "TWCC_FILEEXISTS",      "TWCC_FILENOTFOUND",    "TWCC_NOTEMPTY",
    "TWCC_PAPERJAM",       "TWCC_PAPERDOUBLEFEED", "TWCC_FILEWRITEERROR",  "TWCC_CHECKDEVICEONLINE",
};

void SetText(TW_STR32& field, const char* text) {
    STR_value32(text != nullptr ? text : "").CopyTo(field, sizeof field);
}

bool IsIntegerItem(TW_UINT16 itemType) {
    return itemType <= TWTY_UINT32;
}

// An item read for a 16-bit result: one byte for 8-bit items, else its first 16 bits; a
// TW_FIX32 truncated to an integer.
bool ItemAs16(TW_UINT16 itemType, const unsigned char* item, bool allowBool, bool allowFix32,
              TW_UINT16& value) {
    if (itemType == TWTY_INT8 || itemType == TWTY_UINT8) {
        value = item[0];
    } else if (IsIntegerItem(itemType) || (allowBool && itemType == TWTY_BOOL)) {
        value = ReadU16(item, 0);
    } else if (allowFix32 && itemType == TWTY_FIX32) {
        value = static_cast<TW_UINT16>(static_cast<int>(Fix32ToDouble(ReadFix32(item, 0))));
    } else {
        return false;
    }
    return true;
}

// An item read for a floating result: integers unsigned, a TW_FIX32 converted.
bool ItemAsDouble(TW_UINT16 itemType, const unsigned char* item, double& value) {
    switch (itemType) {
    case TWTY_INT8:
    case TWTY_UINT8:
        value = item[0];
        return true;
    case TWTY_INT16:
    case TWTY_UINT16:
    case TWTY_BOOL:
        value = ReadU16(item, 0);
        return true;
    case TWTY_INT32:
    case TWTY_UINT32:
        value = ReadU32(item, 0);
        return true;
    case TWTY_FIX32:
        value = Fix32ToDouble(ReadFix32(item, 0));
        return true;
    default:
        return false;
    }
}

// The current item of a one-value or enumeration answer as a 16-bit value.
void ReadCurrent16(TW_UINT16 conType, const CapabilityAnswer& answer, bool allowBool,
                   bool allowFix32, TW_UINT16& value) {
    const TW_UINT16 itemType = answer.ItemType();
    if (conType == TWON_ONEVALUE && answer.Has(sizeof(TW_ONEVALUE))) {
        const unsigned char* item = answer.Bytes() + offsetof(TW_ONEVALUE, Item);
        // Items of a one-value are 32 bits wide: 8-bit types are read from their low 16 bits.
        if (itemType <= TWTY_UINT32 || (allowBool && itemType == TWTY_BOOL)) {
            value = ReadU16(item, 0);
        } else {
            ItemAs16(itemType, item, allowBool, allowFix32, value);
        }
    } else if (conType == TWON_ENUMERATION && answer.Has(offsetof(TW_ENUMERATION, ItemList))) {
        const unsigned char* item = nullptr;
        if (answer.EnumItem(answer.U32(offsetof(TW_ENUMERATION, CurrentIndex)), item)) {
            ItemAs16(itemType, item, true, allowFix32, value);
        }
    }
}

TW_FIX32 BitsAsFix32(TW_UINT32 bits) {
    TW_FIX32 value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TW_UINT32 TruncatedFix32(TW_UINT32 bits) {
    return static_cast<TW_UINT32>(static_cast<TW_INT32>(Fix32ToDouble(BitsAsFix32(bits))));
}

} // namespace

std::string ConditionCodeName(TW_UINT16 conditionCode) {
    if (conditionCode < sizeof ConditionCodeNames / sizeof ConditionCodeNames[0]) {
        return ConditionCodeNames[conditionCode];
    }
    char text[32];
    std::snprintf(text, sizeof text, "unknown cc(%d)", conditionCode);
    return text;
}

TwainWrapper::TwainWrapper(HWND parent, TwainEventHandler* eventHandler)
    : m_eventHandler(eventHandler), m_parent(parent), m_appIdentity(), m_sourceIdentity() {
    m_appIdentity.Version.MajorNum = 1;
    m_appIdentity.Version.MinorNum = 0;
    m_appIdentity.Version.Language = TWLG_ENGLISH;
    m_appIdentity.Version.Country = TWCY_USA;
    SetText(m_appIdentity.Version.Info, "ScanApp 1.0");
    m_appIdentity.ProtocolMajor = 1;
    m_appIdentity.ProtocolMinor = 8;
    m_appIdentity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    SetText(m_appIdentity.Manufacturer, "ZYL");
    SetText(m_appIdentity.ProductFamily, "Orvex");
    SetText(m_appIdentity.ProductName, "ScanApp");
}

TwainWrapper::~TwainWrapper() {
    if (m_state > 4) {
        DisableSource();
    }
    if (m_state > 3) {
        CloseSource();
    }
    if (m_state > 2) {
        CloseSourceManager();
    }
    if (m_state > 1) {
        UnloadDSM();
    }
}

bool TwainWrapper::LoadDSM() {
    if (m_library == nullptr) {
        m_state = 1;
        m_library = LoadLibraryA("TWAIN_32.DLL");
        if (m_library != nullptr) {
            m_dsmEntry = reinterpret_cast<DSMENTRYPROC>(
                reinterpret_cast<void*>(GetProcAddress(m_library, MAKEINTRESOURCEA(1))));
            if (m_dsmEntry == nullptr) {
                FreeLibrary(m_library);
                m_library = nullptr;
            } else {
                m_state = 2;
            }
        }
    }
    if (m_library == nullptr) {
        throw TwainMgrNotFoundException(__FILE__, __LINE__);
    }
    return true;
}

void TwainWrapper::UnloadDSM() {
    CloseSourceManager();
    if (m_library != nullptr) {
        FreeLibrary(m_library);
        m_library = nullptr;
        m_dsmEntry = nullptr;
        m_state = 1;
    }
}

TW_UINT16 TwainWrapper::OpenSourceManager() {
    if (IsDSMOpen()) {
        return TWRC_SUCCESS;
    }
    if (m_library == nullptr) {
        LoadDSM();
    }
    HWND parent = m_parent;
    const TW_UINT16 rc = CallManager(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent);
    if (rc != TWRC_SUCCESS) {
        ReportFailure("OpenSourceManager()", 3);
        throw TwainException(__FILE__, __LINE__, rc, 0);
    }
    m_state = 3;
    return rc;
}

TW_UINT16 TwainWrapper::CloseSourceManager() {
    if (!IsDSMOpen()) {
        return TWRC_FAILURE;
    }
    HWND parent = m_parent;
    const TW_UINT16 rc = CallManager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent);
    if (rc == TWRC_SUCCESS) {
        m_state = 2;
    } else {
        ReportFailure("CloseSourceManager()", 2);
    }
    return rc;
}

template <typename Visit> TW_UINT16 TwainWrapper::WalkSources(Visit visit) {
    TW_IDENTITY identity = {};
    const TW_UINT16 first = CallManager(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &identity);
    if (first == TWRC_SUCCESS && !visit(identity)) {
        return first;
    }
    for (;;) {
        identity = TW_IDENTITY();
        if (CallManager(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &identity) != TWRC_SUCCESS ||
            !visit(identity)) {
            return first;
        }
    }
}

TW_UINT16 TwainWrapper::OpenSource(const std::string& productName) {
    TW_UINT16 result = NoSuchSource;
    const STR_value32 wanted(productName.c_str());
    TW_IDENTITY found = {};
    bool matched = false;
    WalkSources([&](const TW_IDENTITY& identity) {
        char name[sizeof identity.ProductName + 1] = {};
        std::memcpy(name, identity.ProductName, sizeof identity.ProductName);
        if (STR_value32(name).Compare(wanted) == 0) {
            found = identity;
            matched = true;
            return false;
        }
        return true;
    });
    if (matched) {
        result = CallManager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &found);
        if (result != TWRC_SUCCESS) {
            ReportFailure("OpenSource()", 0);
        } else {
            m_sourceIdentity = found;
            m_state = 4;
            m_openSourceName = productName;
        }
    }
    return result;
}

void TwainWrapper::CloseSource() {
    if (IsSourceOpen()) {
        if (CallManager(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_sourceIdentity) == TWRC_SUCCESS) {
            m_state = 3;
        }
    }
    m_openSourceName.clear();
}

TW_UINT16 TwainWrapper::EnableWith(TW_UINT16 msg, TW_BOOL showUI) {
    if (!IsSourceOpen() || IsSourceEnabled()) {
        return TWRC_FAILURE;
    }
    TW_USERINTERFACE ui = {showUI, 0xFFFF, m_parent};
    TW_UINT16 rc = CallSource(DG_CONTROL, DAT_USERINTERFACE, msg, &ui);
    if (rc == TWRC_SUCCESS || rc == TWRC_CHECKSTATUS) {
        m_state = 5;
        rc = TWRC_SUCCESS;
    } else {
        m_lastConditionCode = GetConditionCode();
        ReportFailure("EnableSource()", 0, m_lastConditionCode);
    }
    return rc;
}

TW_UINT16 TwainWrapper::EnableSource(bool showUI) {
    return EnableWith(MSG_ENABLEDS, showUI ? TRUE : FALSE);
}

TW_UINT16 TwainWrapper::EnableSourceUIOnly() {
    return EnableWith(MSG_ENABLEDSUIONLY, TRUE);
}

void TwainWrapper::DisableSource() {
    if (!IsSourceEnabled()) {
        return;
    }
    TW_USERINTERFACE ui = {0x00FF, 0, m_parent};
    if (CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui) == TWRC_SUCCESS) {
        m_state = 4;
    } else {
        ReportFailure("DisableSource()", 4);
    }
}

TW_UINT16 TwainWrapper::GetNumSources() {
    if (!IsDSMOpen()) {
        return 0;
    }
    TW_UINT16 count = 0;
    const TW_UINT16 first = WalkSources([&](const TW_IDENTITY&) {
        ++count;
        return true;
    });
    if (first != TWRC_SUCCESS) {
        ReportFailure("GetNumSources()", 0);
        return 0;
    }
    return count;
}

std::string TwainWrapper::GetSourceName(int index) {
    const TW_UINT16 count = GetNumSources();
    const bool cached = !m_sourceNames.empty() && m_sourceNames.size() == count;
    if (!cached && IsDSMOpen()) {
        // A fresh list: appending to a stale one would shift every name.
        m_sourceNames.clear();
        const TW_UINT16 first = WalkSources([&](const TW_IDENTITY& identity) {
            m_sourceNames.emplace_back(identity.ProductName,
                                       strnlen(identity.ProductName, sizeof identity.ProductName));
            return true;
        });
        if (first != TWRC_SUCCESS) {
            ReportFailure("GetSourceName()", 0);
        }
    }
    if (index >= 0 && index < count && static_cast<std::size_t>(index) < m_sourceNames.size()) {
        return m_sourceNames[static_cast<std::size_t>(index)];
    }
    return std::string();
}

std::string TwainWrapper::GetDefaultSourceName() {
    if (!IsDSMOpen()) {
        return std::string();
    }
    TW_IDENTITY identity = {};
    if (CallManager(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &identity) != TWRC_SUCCESS) {
        ReportFailure("GetDefaultSourceName()", 0);
        return std::string();
    }
    return std::string(identity.ProductName,
                       strnlen(identity.ProductName, sizeof identity.ProductName));
}

void TwainWrapper::SetAppIdentity(TW_UINT16 majorNum, TW_UINT16 minorNum, TW_UINT16 language,
                                  TW_UINT16 country, const char* info, const char* manufacturer,
                                  const char* productFamily, const char* productName) {
    m_appIdentity.Version.MajorNum = majorNum;
    m_appIdentity.Version.MinorNum = minorNum;
    m_appIdentity.Version.Language = language;
    m_appIdentity.Version.Country = country;
    SetText(m_appIdentity.Version.Info, info);
    SetText(m_appIdentity.Manufacturer, manufacturer);
    SetText(m_appIdentity.ProductFamily, productFamily);
    SetText(m_appIdentity.ProductName, productName);
}

// ---------------------------------------------------------------------------------------------
// Capabilities

TW_UINT16 TwainWrapper::CapabilityCall(TW_UINT16 msg, TW_CAPABILITY& cap) {
    return CallSource(DG_CONTROL, DAT_CAPABILITY, msg, &cap);
}

TW_UINT16 TwainWrapper::QueryCapability(TW_UINT16 capId, TW_UINT16 conType, TW_UINT16 msg,
                                        const char* operation, const AnswerReader& read) {
    if (!CanNegotiate()) {
        return TWRC_FAILURE;
    }
    TW_UINT16 rc = TWRC_FAILURE;
    try {
        TW_CAPABILITY cap = {capId, conType, nullptr};
        rc = CapabilityCall(msg, cap);
        const CapabilityAnswer answer(cap.hContainer);
        if (rc != TWRC_SUCCESS) {
            ReportFailure(operation, 0);
        } else {
            rc = read(cap.ConType, answer);
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, WrapperSource, __LINE__);
        rc = TWRC_FAILURE;
    }
    return rc;
}

TW_UINT16 TwainWrapper::SetCapability(TW_UINT16 capId, TW_UINT16 conType,
                                      const TW_Container& container, const char* operation) {
    // Zero-filled, and freed after the call whatever the source answers.
    CommonCpp::SafeHandle block(container.GetTotalSize(), true);
    {
        CommonCpp::HandleLocker lock(block);
        container.WriteTo(lock.GetPointer());
    }
    TW_CAPABILITY cap = {capId, conType, block.GetHandle()};
    const TW_UINT16 rc = CapabilityCall(MSG_SET, cap);
    if (rc != TWRC_SUCCESS) {
        ReportFailure(operation, 0);
    }
    return rc;
}

TW_UINT16 TwainWrapper::SetOneValue32(TW_UINT16 capId, TW_UINT16 itemType, TW_UINT32 item,
                                      const char* operation) {
    if (!CanNegotiate()) {
        return TWRC_FAILURE;
    }
    TW_UINT16 rc = TWRC_FAILURE;
    try {
        CommonCpp::SafeHandle block(sizeof(TW_ONEVALUE), true);
        {
            CommonCpp::HandleLocker lock(block);
            Write(lock.GetPointer(), offsetof(TW_ONEVALUE, ItemType), itemType);
            Write(lock.GetPointer(), offsetof(TW_ONEVALUE, Item), item);
        }
        TW_CAPABILITY cap = {capId, TWON_ONEVALUE, block.GetHandle()};
        rc = CapabilityCall(MSG_SET, cap);
        if (rc != TWRC_SUCCESS) {
            ReportFailure(operation, 0);
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, WrapperSource, __LINE__);
    }
    return rc;
}

TW_UINT16 TwainWrapper::GetUINT16_Current(TW_UINT16 capId, TW_UINT16& value) {
    return QueryCapability(capId, TWON_DONTCARE16, MSG_GETCURRENT, "GetUINT16_Current()",
                           [&](TW_UINT16 conType, const CapabilityAnswer& answer) {
                               ReadCurrent16(conType, answer, false, true, value);
                               return TW_UINT16{TWRC_SUCCESS};
                           });
}

TW_UINT16 TwainWrapper::SetUINT16_Current(TW_UINT16 capId, TW_UINT16 value) {
    return SetOneValue32(capId, TWTY_UINT16, value, "SetUINT16_Current()");
}

TW_UINT16 TwainWrapper::SetINT16_Current(TW_UINT16 capId, TW_INT16 value) {
    return SetOneValue32(capId, TWTY_INT16, static_cast<TW_UINT32>(static_cast<TW_INT32>(value)),
                         "SetINT16_Current()");
}

TW_ENUMERATION_UINT16* TwainWrapper::GetUINT16_Enum(TW_UINT16 capId) {
    std::unique_ptr<TW_ENUMERATION_UINT16> result;
    QueryCapability(capId, TWON_ENUMERATION, MSG_GET, "GetUINT16_Enum()",
                    [&](TW_UINT16 conType, const CapabilityAnswer& answer) {
                        const TW_UINT16 itemType = answer.ItemType();
                        SimpleValArray<unsigned short> values;
                        if (conType == TWON_ENUMERATION &&
                            answer.Has(offsetof(TW_ENUMERATION, ItemList))) {
                            std::vector<unsigned short> read;
                            const unsigned char* item = nullptr;
                            for (TW_UINT32 i = 0; answer.EnumItem(i, item); ++i) {
                                TW_UINT16 value = 0;
                                if (ItemAs16(itemType, item, true, true, value)) {
                                    read.push_back(value);
                                }
                            }
                            values.Resize(static_cast<std::uint32_t>(read.size()));
                            for (std::size_t i = 0; i < read.size(); ++i) {
                                values.SetAt(static_cast<std::uint32_t>(i), read[i]);
                            }
                        } else if (conType == TWON_ONEVALUE && answer.Has(sizeof(TW_ONEVALUE))) {
                            TW_UINT16 value = 0;
                            ReadCurrent16(TWON_ONEVALUE, answer, true, true, value);
                            values.Resize(1);
                            values.SetAt(0, value);
                        } else {
                            return TW_UINT16{TWRC_FAILURE};
                        }
                        result = std::make_unique<TW_ENUMERATION_UINT16>(std::move(values), 0, 0);
                        return TW_UINT16{TWRC_SUCCESS};
                    });
    return result.release();
}

TW_UINT16 TwainWrapper::SetUINT16_Enum(TW_UINT16 capId, TW_UINT32 defaultIndex,
                                       TW_UINT32 currentIndex, const TW_UINT16* values,
                                       TW_INT16 count) {
    if (!CanNegotiate()) {
        return TWRC_FAILURE;
    }
    try {
        SimpleValArray<unsigned short> items(count > 0 ? static_cast<std::uint32_t>(count) : 0);
        for (std::uint32_t i = 0; i < items.GetCount(); ++i) {
            items.SetAt(i, values[i]);
        }
        const TW_ENUMERATION_UINT16 container(std::move(items), currentIndex, defaultIndex);
        return SetCapability(capId, TWON_ENUMERATION, container, "SetUINT16_Enum()");
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, WrapperSource, __LINE__);
    }
    return TWRC_FAILURE;
}

TW_UINT16 TwainWrapper::ResetCapability(TW_UINT16 capId) {
    return QueryCapability(
        capId, TWON_DONTCARE16, MSG_RESET, "ResetCapability()",
        [](TW_UINT16, const CapabilityAnswer&) { return TW_UINT16{TWRC_SUCCESS}; });
}

TW_UINT16 TwainWrapper::GetFix32_Current(TW_UINT16 capId, double& value) {
    return QueryCapability(
        capId, TWON_DONTCARE16, MSG_GETCURRENT, "GetFix32_Current()",
        [&](TW_UINT16 conType, const CapabilityAnswer& answer) {
            if (conType == TWON_ONEVALUE && answer.Has(sizeof(TW_ONEVALUE))) {
                const unsigned char* item = answer.Bytes() + offsetof(TW_ONEVALUE, Item);
                value = answer.ItemType() == TWTY_FIX32 ? Fix32ToDouble(ReadFix32(item, 0))
                                                        : static_cast<double>(ReadU32(item, 0));
            } else if (conType == TWON_ENUMERATION) {
                const unsigned char* item = nullptr;
                if (answer.Has(offsetof(TW_ENUMERATION, ItemList)) &&
                    answer.EnumItem(answer.U32(offsetof(TW_ENUMERATION, CurrentIndex)), item)) {
                    ItemAsDouble(answer.ItemType(), item, value);
                }
            }
            return TW_UINT16{TWRC_SUCCESS};
        });
}

TW_UINT16 TwainWrapper::SetFix32_Current(TW_UINT16 capId, double value) {
    TW_UINT32 bits = 0;
    const TW_FIX32 fix = DoubleToFix32(value);
    std::memcpy(&bits, &fix, sizeof bits);
    return SetOneValue32(capId, TWTY_FIX32, bits, "SetFix32_Current()");
}

std::vector<double> TwainWrapper::GetFix32_Enum(TW_UINT16 capId) {
    std::vector<double> values;
    QueryCapability(
        capId, TWON_ENUMERATION, MSG_GET, "GetFix32_Enum()",
        [&](TW_UINT16 conType, const CapabilityAnswer& answer) {
            const TW_UINT16 itemType = answer.ItemType();
            double value = 0.0;
            if (conType == TWON_ENUMERATION) {
                const unsigned char* item = nullptr;
                for (TW_UINT32 i = 0; answer.EnumItem(i, item); ++i) {
                    if (ItemAsDouble(itemType, item, value)) {
                        values.push_back(value);
                    }
                }
            } else if (conType == TWON_ONEVALUE && answer.Has(sizeof(TW_ONEVALUE))) {
                const unsigned char* item = answer.Bytes() + offsetof(TW_ONEVALUE, Item);
                values.push_back(itemType == TWTY_FIX32 ? Fix32ToDouble(ReadFix32(item, 0))
                                                        : static_cast<double>(ReadU32(item, 0)));
            } else if (conType == TWON_RANGE && answer.Has(sizeof(TW_RANGE))) {
                values.push_back(-1.0);
                for (const std::size_t at :
                     {offsetof(TW_RANGE, MinValue), offsetof(TW_RANGE, MaxValue),
                      offsetof(TW_RANGE, StepSize), offsetof(TW_RANGE, DefaultValue),
                      offsetof(TW_RANGE, CurrentValue)}) {
                    values.push_back(itemType == TWTY_FIX32
                                         ? Fix32ToDouble(ReadFix32(answer.Bytes(), at))
                                         : static_cast<double>(answer.U32(at)));
                }
            }
            return TW_UINT16{TWRC_SUCCESS};
        });
    return values;
}

TW_UINT16 TwainWrapper::SetFix32_Enum(TW_UINT16 capId, TW_UINT32 defaultIndex,
                                      TW_UINT32 currentIndex, const double* values,
                                      TW_INT16 count) {
    if (!CanNegotiate()) {
        return TWRC_FAILURE;
    }
    try {
        SimpleValArray<double> items(count > 0 ? static_cast<std::uint32_t>(count) : 0);
        for (std::uint32_t i = 0; i < items.GetCount(); ++i) {
            items.SetAt(i, values[i]);
        }
        const TW_ENUMERATION_FIX32 container(items, currentIndex, defaultIndex);
        return SetCapability(capId, TWON_ENUMERATION, container, "SetFix32_Enum()");
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, WrapperSource, __LINE__);
    }
    return TWRC_FAILURE;
}

TW_UINT16 TwainWrapper::GetBool_Current(TW_UINT16 capId, TW_UINT16& value) {
    return QueryCapability(capId, TWON_DONTCARE16, MSG_GETCURRENT, "GetBool_Current()",
                           [&](TW_UINT16 conType, const CapabilityAnswer& answer) {
                               ReadCurrent16(conType, answer, true, false, value);
                               return TW_UINT16{TWRC_SUCCESS};
                           });
}

TW_UINT16 TwainWrapper::SetBool_Current(TW_UINT16 capId, TW_BOOL value) {
    return SetOneValue32(capId, TWTY_BOOL, value, "SetBool_Current()");
}

TW_UINT16 TwainWrapper::GetUINT32_Range(TW_UINT16 capId, TwainUInt32Range& range) {
    return QueryCapability(
        capId, TWON_RANGE, MSG_GET, "GetUINT32_Range()",
        [&](TW_UINT16 conType, const CapabilityAnswer& answer) {
            const bool fix32 = answer.ItemType() == TWTY_FIX32;
            const auto take = [&](TW_UINT32 bits) { return fix32 ? TruncatedFix32(bits) : bits; };
            if (conType == TWON_ONEVALUE && answer.Has(sizeof(TW_ONEVALUE))) {
                const TW_UINT32 item = take(answer.U32(offsetof(TW_ONEVALUE, Item)));
                range.MinValue = range.MaxValue = range.DefaultValue = range.CurrentValue = item;
                range.StepSize = 0;
            } else if (conType == TWON_RANGE && answer.Has(sizeof(TW_RANGE))) {
                range.MinValue = take(answer.U32(offsetof(TW_RANGE, MinValue)));
                range.MaxValue = take(answer.U32(offsetof(TW_RANGE, MaxValue)));
                range.StepSize = take(answer.U32(offsetof(TW_RANGE, StepSize)));
                range.DefaultValue = take(answer.U32(offsetof(TW_RANGE, DefaultValue)));
                range.CurrentValue = take(answer.U32(offsetof(TW_RANGE, CurrentValue)));
            } else {
                return TW_UINT16{TWRC_FAILURE};
            }
            return TW_UINT16{TWRC_SUCCESS};
        });
}

TW_UINT16 TwainWrapper::GetFix32_Range(TW_UINT16 capId, TW_RANGE_FIX32& range) {
    return QueryCapability(
        capId, TWON_RANGE, MSG_GET, "GetFix32_Range()",
        [&](TW_UINT16 conType, const CapabilityAnswer& answer) {
            const auto at = [&](std::size_t offset) {
                return TW_Fix32(BitsAsFix32(answer.U32(offset)));
            };
            if (conType == TWON_ONEVALUE && answer.Has(sizeof(TW_ONEVALUE))) {
                const TW_Fix32 item = at(offsetof(TW_ONEVALUE, Item));
                range.MinValue = range.MaxValue = range.DefaultValue = range.CurrentValue = item;
                range.StepSize = TW_Fix32();
            } else if (conType == TWON_RANGE && answer.Has(sizeof(TW_RANGE))) {
                if (answer.ItemType() == TWTY_FIX32) {
                    range = TW_RANGE_FIX32(reinterpret_cast<const TW_RANGE*>(answer.Bytes()),
                                           sizeof(TW_RANGE));
                } else {
                    range.MinValue = at(offsetof(TW_RANGE, MinValue));
                    range.MaxValue = at(offsetof(TW_RANGE, MaxValue));
                    range.StepSize = at(offsetof(TW_RANGE, StepSize));
                    range.DefaultValue = at(offsetof(TW_RANGE, DefaultValue));
                    range.CurrentValue = at(offsetof(TW_RANGE, CurrentValue));
                }
            } else {
                return TW_UINT16{TWRC_FAILURE};
            }
            return TW_UINT16{TWRC_SUCCESS};
        });
}

TW_UINT16 TwainWrapper::GetImageLayout(TW_IMAGELAYOUT* layout) {
    if (!CanNegotiate()) {
        return TWRC_FAILURE;
    }
    const TW_UINT16 rc = CallSource(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, layout);
    if (rc != TWRC_SUCCESS) {
        ReportFailure("GetImageLayout()", 0);
    }
    return rc;
}

TW_UINT16 TwainWrapper::SetImageLayout(TW_IMAGELAYOUT* layout) {
    if (!CanNegotiate()) {
        return TWRC_FAILURE;
    }
    const TW_UINT16 rc = CallSource(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, layout);
    if (rc != TWRC_SUCCESS) {
        ReportFailure("SetImageLayout()", 0);
    }
    return rc;
}

TW_UINT16 TwainWrapper::ResetImageLayout() {
    if (!CanNegotiate()) {
        return TWRC_FAILURE;
    }
    TW_IMAGELAYOUT layout = {};
    const TW_UINT16 rc = CallSource(DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, &layout);
    if (rc != TWRC_SUCCESS) {
        ReportFailure("ResetImageLayout()", 0);
    }
    return rc;
}

// ---------------------------------------------------------------------------------------------
// Calls, status and events

TW_UINT16 TwainWrapper::CallDSM(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                                TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (m_dsmEntry == nullptr) {
        return TWRC_FAILURE;
    }
    return m_dsmEntry(origin, destination, dg, dat, msg, data);
}

TW_UINT16 TwainWrapper::CallSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    return CallDSM(&m_appIdentity, &m_sourceIdentity, dg, dat, msg, data);
}

TW_UINT16 TwainWrapper::CallManager(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    return CallDSM(&m_appIdentity, nullptr, dg, dat, msg, data);
}

TW_UINT16 TwainWrapper::GetConditionCode() {
    TW_STATUS status = {};
    CallDSM(&m_appIdentity, IsSourceOpen() ? &m_sourceIdentity : nullptr, DG_CONTROL, DAT_STATUS,
            MSG_GET, &status);
    return status.ConditionCode;
}

bool TwainWrapper::ProcessEvent(MSG* message) {
    if (!IsSourceEnabled()) {
        return false;
    }
    TW_EVENT event = {message, MSG_NULL};
    const TW_UINT16 rc = CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    switch (event.TWMessage) {
    case MSG_XFERREADY:
        m_xferReady = 1;
        if (m_eventHandler != nullptr) {
            m_eventHandler->OnTransferReady();
        }
        break;
    case MSG_CLOSEDSREQ:
        m_closeRequest = 1;
        if (m_eventHandler != nullptr) {
            m_eventHandler->OnCloseRequest();
        }
        break;
    case MSG_CLOSEDSOK:
        m_closeOk = 1;
        if (m_eventHandler != nullptr) {
            m_eventHandler->OnCloseOk();
        }
        break;
    default:
        break;
    }
    return rc == TWRC_DSEVENT;
}

TW_UINT16 TwainWrapper::AcquireAll(bool showUI, int, int) {
    if (!IsSourceOpen()) {
        return TWRC_FAILURE;
    }
    m_lastConditionCode = 0;
    TW_UINT16 rc = SetMemoryTransfer();
    SetUINT16_Current(CAP_XFERCOUNT, 0xFFFF);
    if (rc == TWRC_SUCCESS) {
        rc = EnableSource(showUI);
    }
    return rc;
}

TW_UINT16 TwainWrapper::SetMemoryTransfer() {
    return SetTransferMechanism(TWSX_MEMORY);
}

TW_UINT16 TwainWrapper::SetFileTransfer() {
    return SetTransferMechanism(TWSX_FILE);
}

TW_UINT16 TwainWrapper::SetTransferMechanism(TW_UINT16 mechanism) {
    if (!CanNegotiate()) {
        return TWRC_FAILURE;
    }
    m_reportedConditionCode = 0;
    const TW_UINT16 rc = SetUINT16_Current(ICAP_XFERMECH, mechanism);
    if (rc != TWRC_SUCCESS) {
        // The failure report has read (and so cleared) the source's condition code already.
        m_lastConditionCode = m_reportedConditionCode;
    }
    return rc;
}

bool TwainWrapper::FetchPixelFlavorZeroIsWhite() {
    TW_CAPABILITY cap = {ICAP_PIXELFLAVOR, TWON_DONTCARE16, nullptr};
    const TW_UINT16 rc = CapabilityCall(MSG_GETCURRENT, cap);
    try {
        const CapabilityAnswer answer(cap.hContainer);
        if (rc != TWRC_SUCCESS) {
            ReportFailure("FetchPixelFlavorZeroIsWhite()", 0);
            return false;
        }
        if (cap.ConType == TWON_ONEVALUE && answer.Has(sizeof(TW_ONEVALUE))) {
            return !(answer.ItemType() == TWTY_UINT16 &&
                     answer.U16(offsetof(TW_ONEVALUE, Item)) != TWPF_VANILLA);
        }
        m_lastConditionCode = GetConditionCode();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, WrapperSource, __LINE__);
    }
    return false;
}

TW_UINT16 TwainWrapper::FetchBitOrder() {
    TW_CAPABILITY cap = {ICAP_BITORDER, TWON_DONTCARE16, nullptr};
    const TW_UINT16 rc = CapabilityCall(MSG_GETCURRENT, cap);
    try {
        const CapabilityAnswer answer(cap.hContainer);
        if (rc != TWRC_SUCCESS) {
            ReportFailure("FetchBitOrder()", 0);
            return TWBO_MSBFIRST;
        }
        if (cap.ConType != TWON_ONEVALUE) {
            m_lastConditionCode = GetConditionCode();
        } else if (answer.Has(sizeof(TW_ONEVALUE)) && answer.ItemType() == TWTY_UINT16) {
            return answer.U16(offsetof(TW_ONEVALUE, Item));
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, WrapperSource, __LINE__);
    }
    return TWBO_MSBFIRST;
}

bool TwainWrapper::FetchImageInfo(double& xResolution, double& yResolution, TW_INT32& width,
                                  TW_INT32& length, TW_INT16& samplesPerPixel,
                                  TW_INT16 bitsPerSample[8], TW_INT16& bitsPerPixel, bool& planar,
                                  TW_INT16& pixelType, TW_UINT16& compression) {
    TW_IMAGEINFO info = {};
    const TW_UINT16 rc = CallSource(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
    if (rc != TWRC_SUCCESS) {
        ReportFailure("FetchImageInfo()", 0);
        info = TW_IMAGEINFO();
    }
    xResolution = Fix32ToDouble(info.XResolution);
    yResolution = Fix32ToDouble(info.YResolution);
    width = info.ImageWidth;
    length = info.ImageLength;
    samplesPerPixel = info.SamplesPerPixel;
    for (int i = 0; i < 8; ++i) {
        bitsPerSample[i] = info.BitsPerSample[i];
    }
    bitsPerPixel = info.BitsPerPixel;
    planar = info.Planar != 0;
    pixelType = info.PixelType;
    compression = info.Compression;
    return rc == TWRC_SUCCESS;
}

TW_UINT16 TwainWrapper::FetchPendingXferCount() {
    TW_PENDINGXFERS pending = {};
    const TW_UINT16 rc = CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    if (rc != TWRC_SUCCESS) {
        ReportFailure("FetchPendingXferCount()", 0);
        throw CommonCpp::Exception(WrapperSource, __LINE__);
    }
    return pending.Count;
}

// ---------------------------------------------------------------------------------------------
// Failures

bool TwainWrapper::ReportFailure(const char* operation, TW_UINT16 targetState) {
    return ReportFailure(operation, targetState, GetConditionCode());
}

bool TwainWrapper::ReportFailure(const char* operation, TW_UINT16 targetState,
                                 TW_UINT16 conditionCode) {
    m_reportedConditionCode = conditionCode;
    if (conditionCode == TWCC_SUCCESS) {
        return true;
    }
    CommonCpp::DebugTrace("%s failed because of %s", operation,
                          ConditionCodeName(conditionCode).c_str());
    if (conditionCode == TWCC_OPERATIONERROR) {
        m_state = StateOperationError;
        return false;
    }
    if (conditionCode == TWCC_SEQERROR && targetState <= 7) {
        return WalkDownTo(targetState);
    }
    return false;
}

TW_UINT16 TwainWrapper::SendLeavingTriplet(TW_UINT16 state) {
    switch (state) {
    case 7: {
        TW_PENDINGXFERS pending = {};
        return CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    }
    case 6: {
        TW_PENDINGXFERS pending = {};
        return CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    }
    case 5: {
        TW_USERINTERFACE ui = {0x00FF, 0, m_parent};
        return CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    }
    case 4:
        return CallManager(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_sourceIdentity);
    case 3: {
        HWND parent = m_parent;
        return CallManager(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent);
    }
    default:
        return TWRC_FAILURE;
    }
}

bool TwainWrapper::WalkDownTo(TW_UINT16 targetState) {
    // An enabled source may be transferring without the wrapper knowing (the application
    // drives the transfer triplets itself), so the walk starts at the top for it; otherwise
    // at the state the wrapper is in. It never goes below a loaded source manager.
    const TW_UINT16 floor = targetState > 2 ? targetState : 2;
    const TW_UINT16 start = m_state >= 5 ? 7 : m_state;
    for (TW_UINT16 s = start; s > floor; --s) {
        if (SendLeavingTriplet(s) == TWRC_SUCCESS) {
            m_state = static_cast<TW_UINT16>(s - 1);
        }
    }
    if (m_state <= 3) {
        m_openSourceName.clear();
    }
    return targetState >= 2 && m_state == targetState;
}

} // namespace CommonTwain
