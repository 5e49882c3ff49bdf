#pragma once
// Base of the capability handlers: the MSG_SET frame (TWAIN state, Set flag, the application's
// container locked for the call, dispatch by container type), the answers of every operation a
// capability does not serve, and the building of answer containers. A handler keeps no values:
// it reads and changes them through the source's CapSupport operations.

#include "CapSupport.h"
#include "TwainDefs.h"

class AbstractSource;
namespace CommonTwain {
class TW_Container;
}

class TwainCapInfo {
public:
    // Operations a handler admits; they decide MSG_SET and the answers of the defaults below.
    enum Flags : TW_UINT32 {
        FlagSet = 1,
        FlagReset = 2,
        FlagGet = 4,
        FlagGetCurrent = 8,
        FlagGetDefault = 16,
        FlagsAll = FlagSet | FlagReset | FlagGet | FlagGetCurrent | FlagGetDefault,
    };

    explicit TwainCapInfo(TW_UINT32 flags);
    TwainCapInfo(const TwainCapInfo&) = delete;
    TwainCapInfo& operator=(const TwainCapInfo&) = delete;
    virtual ~TwainCapInfo();

    // Accepted in TWAIN state 4 only; the container form picks the Set* operation.
    TW_UINT16 Set(TW_CAPABILITY& capability);
    // Each fails unless the handler serves it: TWCC_CAPBADOPERATION when its flag is missing,
    // TWCC_CAPUNSUPPORTED when it is present.
    virtual TW_UINT16 Reset(TW_CAPABILITY& capability);
    virtual TW_UINT16 Get(TW_CAPABILITY& capability);
    virtual TW_UINT16 GetCurrent(TW_CAPABILITY& capability);
    virtual TW_UINT16 GetDefault(TW_CAPABILITY& capability);

    // The TWQC bits of the messages this handler answers with success: an application plans
    // its negotiation by them, so they must name exactly the operations served above.
    virtual TW_INT32 GetSupportedOperations() const = 0;
    TW_UINT32 GetFlags() const { return m_flags; }

    // Hands the container to the application in a new block of its own; capability is
    // written only once the block is complete.
    static TW_UINT16 Answer(TW_CAPABILITY& capability, const CommonTwain::TW_Container& container);

protected:
    // memory is the application's locked container, size the bytes it holds. Each form fails
    // with TWCC_CAPUNSUPPORTED unless the handler serves it.
    virtual TW_UINT16 SetArray(TW_CAPABILITY& capability, const TW_ARRAY* memory,
                               unsigned long size);
    virtual TW_UINT16 SetOneValue(TW_CAPABILITY& capability, const TW_ONEVALUE* memory,
                                  unsigned long size);
    virtual TW_UINT16 SetEnumeration(TW_CAPABILITY& capability, const TW_ENUMERATION* memory,
                                     unsigned long size);
    virtual TW_UINT16 SetRange(TW_CAPABILITY& capability, const TW_RANGE* memory,
                               unsigned long size);

    // For read-only capabilities: MSG_GETCURRENT and MSG_GETDEFAULT answer as MSG_GET.
    TW_UINT16 GetCurrentAsGet(TW_CAPABILITY& capability) { return Get(capability); }

    // The current source; TWCC_BUMMER while there is none.
    static CapSupport& Source();
    // The same object, for what lies outside CapSupport (the scan session, plain flags).
    static AbstractSource& SourceObject();
    static TW_UINT16 TwainState();

    // A TWTY_UINT16 enumeration of the values whose indexes name the last entry equal to the
    // current and the default value, 0 when none is.
    static TW_UINT16 AnswerEnumeration(TW_CAPABILITY& capability,
                                       const CapSupport::ValueList& values, TW_UINT16 current,
                                       TW_UINT16 defaultValue);
    static TW_UINT16 AnswerUInt16(TW_CAPABILITY& capability, TW_UINT16 value);
    static TW_UINT16 AnswerBool(TW_CAPABILITY& capability, TW_UINT16 value);
    // value rounded into a TW_FIX32; beyond its range, its largest or smallest value.
    static TW_UINT16 AnswerFix32(TW_CAPABILITY& capability, double value);
    // A TWTY_FIX32 enumeration; the indexes follow the rule of AnswerEnumeration, compared on
    // the values before they are rounded.
    static TW_UINT16 AnswerFix32Enumeration(TW_CAPABILITY& capability,
                                            const CommonTwain::SimpleValArray<double>& values,
                                            double current, double defaultValue);

    // The low 16 bits of the item, whatever the item type says.
    static TW_UINT16 ReadLow16(const TW_ONEVALUE* memory, unsigned long size);
    // The item of a TWTY_FIX32 one-value as Whole + Frac / 65536; CommonTwain::TypeException
    // for any other item type.
    static double ReadFix32(const TW_ONEVALUE* memory, unsigned long size);
    // The items of a TWTY_UINT16 enumeration; CommonTwain::TypeException for any other.
    static CapSupport::ValueList ReadUInt16Items(const TW_ENUMERATION* memory, unsigned long size);

private:
    TW_UINT16 DefaultAnswer(TW_UINT32 flag) const;

    const TW_UINT32 m_flags;
};
