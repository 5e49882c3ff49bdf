#pragma once
// A directory of the file-system tree: owns its entries, kept in places that may hold holes
// left by removed entries.

#include "SimpleValArray.h"
#include "zylFileObj.h"

class zylImageFile;

class zylDirectory : public zylFileObj {
public:
    using Entries = CommonTwain::SimpleValArray<zylFileObj*>;

    explicit zylDirectory(zylDirectory* parent);
    // Deep copy: every entry of source copied into the same place, holes kept; not registered
    // with parent.
    zylDirectory(const zylDirectory& source, zylDirectory* parent);
    // Deletes every entry, then leaves its own directory.
    ~zylDirectory() override;

    zylDirectory* Clone(zylDirectory* parent) const override;
    zylDirectory* CloneSameParent() const override;

    // Takes ownership; the entry goes into the first hole, else a new last place. An entry
    // placed in another directory leaves it first; one already here is not placed twice.
    virtual void AddEntry(zylFileObj* entry);
    // Leaves a hole where the entry was; the entry is not deleted.
    virtual void RemoveEntry(zylFileObj* entry);
    // Image files here and in every directory below.
    virtual std::int32_t CountImageFiles() const;
    // Exact byte comparison; null when none.
    virtual zylFileObj* FindByName(const std::string& name) const;
    // Places, holes included.
    virtual std::uint32_t GetCount() const;
    // Null for a hole, an entry of another class or an index beyond the places.
    virtual zylImageFile* GetImageFileAt(std::uint32_t index) const;
    virtual zylDirectory* GetDirectoryAt(std::uint32_t index) const;
    virtual zylFileObj* GetFileObjAt(std::uint32_t index) const;
    // The places themselves, for sorting in place.
    virtual Entries& GetEntries();
    virtual const Entries& GetEntries() const;
    // Depth-first in place order.
    virtual zylImageFile* FindImageFileByJobID(std::uint32_t jobId) const;

private:
    void DeleteEntries();

    Entries m_entries;
    bool m_destroying = false;
};
