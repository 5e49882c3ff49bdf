#pragma once
// Named base of files, directories, image files, server records and attribute tables.

// windows.h maps GetClassName to GetClassNameA/W; every unit must see the plain name.
#include <windows.h>
#undef GetClassName

#include <cstdint>
#include <string>

class BaseObject {
public:
    BaseObject();
    BaseObject(const BaseObject& other) = default;
    BaseObject& operator=(const BaseObject& other) = default;
    virtual ~BaseObject();

    // Identity, not equality.
    virtual bool IsSameObject(const BaseObject* other) const;
    virtual BaseObject* GetSelf();
    virtual std::string GetClassName() const;

    static std::uint32_t HashString(const std::string& text);
    static std::uint32_t HashFlag(bool flag);

protected:
    // className must be a static text; derived classes pass their own name.
    explicit BaseObject(const char* className);
    void SetClassName(const char* className) { m_className = className; }

private:
    const char* m_className;
};
