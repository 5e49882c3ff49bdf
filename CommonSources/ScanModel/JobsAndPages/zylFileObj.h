#pragma once
// One entry of the TWAIN file-system tree of the server's jobs: name, parent, creation and
// modification times, TWAIN file type and size.

#include "BaseObject.h"
#include "TwainDateTime.h"

#include <cstdint>
#include <string>

class zylDirectory;

class zylFileObj : public BaseObject {
public:
    // Registers with the parent (which then owns the entry) when there is one.
    explicit zylFileObj(zylDirectory* parent);
    // A copy of source's values under parent, not registered: whoever makes it places it.
    zylFileObj(const zylFileObj& source, zylDirectory* parent);
    zylFileObj(const zylFileObj&) = delete;
    zylFileObj& operator=(const zylFileObj&) = delete;
    // Leaves the directory it is registered in.
    ~zylFileObj() override;

    // New unregistered copy; the caller owns it.
    virtual zylFileObj* Clone(zylDirectory* parent) const;
    virtual zylFileObj* CloneSameParent() const;

    virtual void SetCreateTime(const CommonTwain::TwainDateTime& time);
    virtual CommonTwain::TwainDateTime GetCreateTime() const;
    virtual void SetModifiedTime(const CommonTwain::TwainDateTime& time);
    virtual CommonTwain::TwainDateTime GetModifiedTime() const;
    virtual zylDirectory* GetParent() const;
    virtual void SetName(const std::string& name);
    virtual std::string GetName() const;
    virtual void SetFileType(std::int32_t fileType);
    virtual std::int32_t GetFileType() const;
    virtual void SetSize(std::uint32_t size);
    virtual std::uint32_t GetSize() const;
    virtual std::uint32_t GetAuxValue() const;
    virtual void SetMarked(bool marked);
    virtual bool IsMarked() const;

    // Camera entries before directories (each by name), directories before image files, image
    // files by modification time.
    static bool IsLess(const zylFileObj* a, const zylFileObj* b);
    static bool IsEqual(const zylFileObj* a, const zylFileObj* b);
    static bool IsGreater(const zylFileObj* a, const zylFileObj* b);

private:
    friend class zylDirectory;

    zylDirectory* m_parent;
    // The directory whose entries hold this object, if any: only that one is told when the
    // object goes, so an unplaced copy never touches a parent that may be gone.
    zylDirectory* m_placedIn = nullptr;
    std::string m_name;
    CommonTwain::TwainDateTime m_createTime;
    CommonTwain::TwainDateTime m_modifiedTime;
    std::int32_t m_fileType;
    std::uint32_t m_size = 1;
    std::uint32_t m_auxValue = 0;
    bool m_marked = false;
};
