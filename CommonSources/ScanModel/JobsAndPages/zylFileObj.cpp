#include "zylFileObj.h"

#include "TwainDefs.h"
#include "zylDirectory.h"

#include <windows.h>

namespace {

CommonTwain::TwainDateTime LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return CommonTwain::TwainDateTime(
        static_cast<std::int16_t>(now.wYear), static_cast<std::int16_t>(now.wMonth),
        static_cast<std::int16_t>(now.wDay), static_cast<std::int16_t>(now.wHour),
        static_cast<std::int16_t>(now.wMinute), static_cast<std::int16_t>(now.wSecond), 0.0);
}

enum class OrderClass { Camera, Directory, Other };

OrderClass ClassOf(const zylFileObj* entry) {
    switch (entry->GetFileType()) {
    case TWFY_CAMERA:
        return OrderClass::Camera;
    case TWFY_DIRECTORY:
        return OrderClass::Directory;
    default:
        return OrderClass::Other;
    }
}

// Bytes compared as unsigned values; a name that is a prefix of the other comes first.
bool NameLess(const zylFileObj* a, const zylFileObj* b) {
    return a->GetName().compare(b->GetName()) < 0;
}

} // namespace

zylFileObj::zylFileObj(zylDirectory* parent)
    : BaseObject("zylFileObj"), m_parent(parent), m_createTime(LocalNow()),
      m_modifiedTime(m_createTime), m_fileType(TWFY_IMAGE) {
    if (parent != nullptr) {
        parent->AddEntry(this);
    }
}

zylFileObj::zylFileObj(const zylFileObj& source, zylDirectory* parent)
    : BaseObject(source), m_parent(parent), m_name(source.m_name),
      m_createTime(source.m_createTime), m_modifiedTime(source.m_modifiedTime),
      m_fileType(source.m_fileType), m_size(source.m_size), m_auxValue(source.m_auxValue),
      m_marked(source.m_marked) {}

zylFileObj::~zylFileObj() {
    if (m_placedIn != nullptr) {
        m_placedIn->RemoveEntry(this);
    }
}

zylFileObj* zylFileObj::Clone(zylDirectory* parent) const {
    return new zylFileObj(*this, parent);
}

zylFileObj* zylFileObj::CloneSameParent() const {
    return Clone(m_parent);
}

void zylFileObj::SetCreateTime(const CommonTwain::TwainDateTime& time) {
    m_createTime = time;
}

CommonTwain::TwainDateTime zylFileObj::GetCreateTime() const {
    return m_createTime;
}

void zylFileObj::SetModifiedTime(const CommonTwain::TwainDateTime& time) {
    m_modifiedTime = time;
}

CommonTwain::TwainDateTime zylFileObj::GetModifiedTime() const {
    return m_modifiedTime;
}

zylDirectory* zylFileObj::GetParent() const {
    return m_parent;
}

void zylFileObj::SetName(const std::string& name) {
    m_name = name;
}

std::string zylFileObj::GetName() const {
    return m_name;
}

void zylFileObj::SetFileType(std::int32_t fileType) {
    m_fileType = fileType;
}

std::int32_t zylFileObj::GetFileType() const {
    return m_fileType;
}

void zylFileObj::SetSize(std::uint32_t size) {
    m_size = size;
}

std::uint32_t zylFileObj::GetSize() const {
    return m_size;
}

std::uint32_t zylFileObj::GetAuxValue() const {
    return m_auxValue;
}

void zylFileObj::SetMarked(bool marked) {
    m_marked = marked;
}

bool zylFileObj::IsMarked() const {
    return m_marked;
}

bool zylFileObj::IsLess(const zylFileObj* a, const zylFileObj* b) {
    const OrderClass ca = ClassOf(a);
    const OrderClass cb = ClassOf(b);
    if (ca != cb) {
        return ca < cb;
    }
    if (ca == OrderClass::Other) {
        return a->GetModifiedTime() < b->GetModifiedTime();
    }
    return NameLess(a, b);
}

bool zylFileObj::IsEqual(const zylFileObj* a, const zylFileObj* b) {
    const OrderClass ca = ClassOf(a);
    if (ca != ClassOf(b)) {
        return false;
    }
    if (ca == OrderClass::Other) {
        return a->GetModifiedTime() == b->GetModifiedTime();
    }
    return a->GetName() == b->GetName();
}

bool zylFileObj::IsGreater(const zylFileObj* a, const zylFileObj* b) {
    return !IsLess(a, b) && !IsEqual(a, b);
}
