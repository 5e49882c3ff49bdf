#pragma once
// Typed view of a TWAIN capability container: built from values or from an application's
// container memory, written into a global block in the exact TWAIN layout.

#include "SimpleValArray.h"
#include "TwainDefs.h"

#include <memory>
#include <string>

namespace CommonTwain {

class TW_Container {
public:
    TW_Container(TW_UINT16 itemType, TW_UINT16 conType);
    virtual ~TW_Container();

    virtual std::string Dump() const = 0;
    virtual TW_UINT16 GetItemType() const;
    virtual unsigned GetItemSize() const;
    virtual TW_UINT16 GetConType() const;
    virtual unsigned GetContainerSize() const;
    // Bytes of the answer block: the standard record (with its placeholder item) plus the items.
    virtual unsigned GetTotalSize() const;
    virtual std::unique_ptr<TW_Container> Clone() const = 0;
    virtual unsigned GetCount() const = 0;
    // memory holds at least GetTotalSize() bytes.
    virtual void WriteTo(void* memory) const = 0;
    // The current (default) value as a one-value in a new block handed to the application:
    // cap gets Cap, ConType and hContainer only on success.
    virtual void GetCurrentAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const;
    virtual void GetDefaultAsOneValue(TW_CAPABILITY* cap, TW_UINT16 capId) const;
    // memory is the application's TW_ONEVALUE, blockSize the bytes it may be read from.
    virtual void SetFromOneValue(const TW_ONEVALUE* memory, unsigned long blockSize);
    virtual void UnsupportedOperation() const;
    virtual void Assign(const TW_Container& other);

    static unsigned ItemSizeOf(TW_UINT16 itemType);
    static unsigned ContainerSizeOf(TW_UINT16 conType);

protected:
    TW_Container(const TW_Container& other) = default;
    TW_Container& operator=(const TW_Container& other) = delete;

    // Writes this container's one-value form into a new block and hands it to cap.
    static void AnswerOneValue(const TW_Container& oneValue, TW_CAPABILITY* cap, TW_UINT16 capId);
    // The items of a dump: "[0] = v0, [1] = v1, ...".
    static std::string DumpItems(const SimpleValArray<unsigned short>& values);

private:
    TW_UINT16 m_itemType;
    TW_UINT16 m_conType;
};

} // namespace CommonTwain
