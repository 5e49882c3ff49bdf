#pragma once
// The application side of TWAIN: loads the source manager, opens, negotiates with, enables and
// closes one data source, and passes window messages to it while it is enabled. Tracks the
// TWAIN state as the application believes it (1 to 7), plus state 8: the source reported an
// operation error and has told the user itself.

#include "TW_Enumeration.h"
#include "TW_Range.h"
#include "TwainDefs.h"
#include "TwainEventHandler.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace CommonTwain {

class CapabilityAnswer;

// A range of integer items as a source answers it.
struct TwainUInt32Range {
    TW_UINT32 MinValue = 0;
    TW_UINT32 MaxValue = 0;
    TW_UINT32 StepSize = 0;
    TW_UINT32 DefaultValue = 0;
    TW_UINT32 CurrentValue = 0;
};

// "TWCC_SUCCESS" ... "TWCC_CHECKDEVICEONLINE", "unknown cc(n)" for any other code.
std::string ConditionCodeName(TW_UINT16 conditionCode);

class TwainWrapper {
public:
    static constexpr TW_UINT16 StateOperationError = 8;
    // OpenSource's answer for a name that no source has.
    static constexpr TW_UINT16 NoSuchSource = 0xFFFF;

    // eventHandler is not owned and may be null.
    TwainWrapper(HWND parent, TwainEventHandler* eventHandler);
    TwainWrapper(const TwainWrapper&) = delete;
    TwainWrapper& operator=(const TwainWrapper&) = delete;
    // Disables, closes and unloads whatever is still open, in that order.
    virtual ~TwainWrapper();

    virtual TW_UINT8 GetXferReadyReceived() const { return m_xferReady; }
    virtual void SetXferReadyReceived(TW_UINT8 flag) { m_xferReady = flag; }
    virtual TW_UINT8 GetCloseRequestReceived() const { return m_closeRequest; }
    virtual void SetCloseRequestReceived(TW_UINT8 flag) { m_closeRequest = flag; }
    virtual TW_UINT8 GetCloseOkReceived() const { return m_closeOk; }
    virtual void SetCloseOkReceived(TW_UINT8 flag) { m_closeOk = flag; }

    virtual bool IsDSMLoaded() const { return m_state > 1; }
    // TwainMgrNotFoundException when TWAIN_32.DLL or its entry cannot be found.
    virtual bool LoadDSM();
    virtual void UnloadDSM();
    virtual bool IsDSMOpen() const { return m_state > 2; }
    // Loads on demand; TwainException with the return code when the manager refuses.
    virtual TW_UINT16 OpenSourceManager();
    virtual TW_UINT16 CloseSourceManager();
    virtual bool IsSourceOpen() const { return m_state > 3; }
    // Matches product names without regard to case; NoSuchSource when none matches.
    virtual TW_UINT16 OpenSource(const std::string& productName);
    virtual void CloseSource();
    virtual bool IsSourceEnabled() const { return m_state > 4; }
    // TWRC_CHECKSTATUS counts as success.
    virtual TW_UINT16 EnableSource(bool showUI);
    virtual void DisableSource();
    virtual TW_UINT16 EnableSourceUIOnly();
    virtual bool IsTransferReady() const { return m_state == 6; }
    virtual bool IsTransferring() const { return m_state == 7; }
    virtual bool ShouldReportError() const { return m_state != StateOperationError; }
    virtual TW_UINT16 GetNumSources();
    // Empty for an index outside the sources.
    virtual std::string GetSourceName(int index);
    virtual std::string GetDefaultSourceName();
    virtual std::string GetOpenSourceName() const { return m_openSourceName; }
    virtual void SetAppIdentity(TW_UINT16 majorNum, TW_UINT16 minorNum, TW_UINT16 language,
                                TW_UINT16 country, const char* info, const char* manufacturer,
                                const char* productFamily, const char* productName);

    // Capability operations need an open source that is not enabled; otherwise they send
    // nothing and answer TWRC_FAILURE (null, an empty list).
    virtual TW_UINT16 GetUINT16_Current(TW_UINT16 cap, TW_UINT16& value);
    virtual TW_UINT16 SetUINT16_Current(TW_UINT16 cap, TW_UINT16 value);
    virtual TW_UINT16 SetINT16_Current(TW_UINT16 cap, TW_INT16 value);
    // The caller owns the result.
    virtual TW_ENUMERATION_UINT16* GetUINT16_Enum(TW_UINT16 cap);
    virtual TW_UINT16 SetUINT16_Enum(TW_UINT16 cap, TW_UINT32 defaultIndex, TW_UINT32 currentIndex,
                                     const TW_UINT16* values, TW_INT16 count);
    virtual TW_UINT16 ResetCapability(TW_UINT16 cap);
    virtual TW_UINT16 GetFix32_Current(TW_UINT16 cap, double& value);
    virtual TW_UINT16 SetFix32_Current(TW_UINT16 cap, double value);
    // A range answer starts with the marker -1.0, then minimum, maximum, step, default, current.
    virtual std::vector<double> GetFix32_Enum(TW_UINT16 cap);
    virtual TW_UINT16 SetFix32_Enum(TW_UINT16 cap, TW_UINT32 defaultIndex, TW_UINT32 currentIndex,
                                    const double* values, TW_INT16 count);
    virtual TW_UINT16 GetBool_Current(TW_UINT16 cap, TW_UINT16& value);
    virtual TW_UINT16 SetBool_Current(TW_UINT16 cap, TW_BOOL value);
    virtual TW_UINT16 GetUINT32_Range(TW_UINT16 cap, TwainUInt32Range& range);
    virtual TW_UINT16 GetFix32_Range(TW_UINT16 cap, TW_RANGE_FIX32& range);
    virtual TW_UINT16 GetImageLayout(TW_IMAGELAYOUT* layout);
    virtual TW_UINT16 SetImageLayout(TW_IMAGELAYOUT* layout);
    virtual TW_UINT16 ResetImageLayout();

    // Any triplet; TWRC_FAILURE without a call while the source manager is not loaded.
    virtual TW_UINT16 CallDSM(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                              TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    // DAT_STATUS of the open source, else of the source manager. Reading it clears it.
    virtual TW_UINT16 GetConditionCode();
    // Whether the enabled source took the message (TWRC_DSEVENT); its notices go to the
    // event handler.
    virtual bool ProcessEvent(MSG* message);
    virtual TW_UINT16 AcquireAll(bool showUI, int unusedFirst, int unusedSecond);
    virtual TW_UINT16 GetLastConditionCode() const { return m_lastConditionCode; }
    virtual TW_UINT16 SetMemoryTransfer();
    virtual TW_UINT16 SetFileTransfer();
    virtual TW_UINT16 SetTransferMechanism(TW_UINT16 mechanism);
    virtual bool FetchPixelFlavorZeroIsWhite();
    virtual TW_UINT16 FetchBitOrder();
    virtual bool FetchImageInfo(double& xResolution, double& yResolution, TW_INT32& width,
                                TW_INT32& length, TW_INT16& samplesPerPixel,
                                TW_INT16 bitsPerSample[8], TW_INT16& bitsPerPixel, bool& planar,
                                TW_INT16& pixelType, TW_UINT16& compression);
    // CommonCpp::Exception when the source refuses.
    virtual TW_UINT16 FetchPendingXferCount();

    // Reads the condition code and handles what it asks for; whether the failure left the
    // session usable (a sequence error: whether the walk reached targetState).
    bool ReportFailure(const char* operation, TW_UINT16 targetState);

    TW_UINT16 GetState() const { return m_state; }
    const TW_IDENTITY& GetAppIdentity() const { return m_appIdentity; }
    const TW_IDENTITY& GetSourceIdentity() const { return m_sourceIdentity; }

private:
    // The condition code has been read already: the source clears it on the first read.
    bool ReportFailure(const char* operation, TW_UINT16 targetState, TW_UINT16 conditionCode);
    // Sends the triplet that leaves state, each with its own record.
    TW_UINT16 SendLeavingTriplet(TW_UINT16 state);
    bool WalkDownTo(TW_UINT16 targetState);

    bool CanNegotiate() const { return m_state == 4; }
    TW_UINT16 CallSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 CallManager(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    // A capability triplet; a returned container is owned by answer (freed with it).
    TW_UINT16 CapabilityCall(TW_UINT16 msg, TW_CAPABILITY& cap);
    // A capability query: refused before negotiation; the container the source returns is
    // freed whatever happens and a failure is reported; read sees a successful answer (its
    // container type and block) and answers the result.
    using AnswerReader = std::function<TW_UINT16(TW_UINT16 conType, const CapabilityAnswer&)>;
    TW_UINT16 QueryCapability(TW_UINT16 capId, TW_UINT16 conType, TW_UINT16 msg,
                              const char* operation, const AnswerReader& read);
    TW_UINT16 SetCapability(TW_UINT16 cap, TW_UINT16 conType, const TW_Container& container,
                            const char* operation);
    TW_UINT16 SetOneValue32(TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 item,
                            const char* operation);
    TW_UINT16 EnableWith(TW_UINT16 msg, TW_BOOL showUI);
    // Walks GETFIRST/GETNEXT; visit returns false to stop. GETFIRST's code.
    template <typename Visit> TW_UINT16 WalkSources(Visit visit);

    TwainEventHandler* m_eventHandler;
    HMODULE m_library = nullptr;
    DSMENTRYPROC m_dsmEntry = nullptr;
    HWND m_parent;
    TW_IDENTITY m_appIdentity;
    TW_IDENTITY m_sourceIdentity;
    std::vector<std::string> m_sourceNames;
    TW_UINT16 m_state = 1;
    TW_UINT16 m_lastConditionCode = 0;
    // The condition code the latest failure report read.
    TW_UINT16 m_reportedConditionCode = 0;
    TW_UINT8 m_xferReady = 0;
    TW_UINT8 m_closeRequest = 0;
    TW_UINT8 m_closeOk = 0;
    std::string m_openSourceName;
};

} // namespace CommonTwain
