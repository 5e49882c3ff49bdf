#include "ScanAttributeWrapper.h"

#include <cstdio>

#include "QuorMemoryAllocator.h"
#include "QuorvelWrapperIntf.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TextFile = std::unique_ptr<std::FILE, FileCloser>;

// Text mode: the runtime turns each "\n" into the system's line end.
TextFile OpenForWriting(const std::string& path) {
    return TextFile(std::fopen(path.c_str(), "w"));
}

void WritePair(std::FILE* file, const char* key, const char* value) {
    std::fputs(key ? key : "", file);
    std::fputs(" = ", file);
    std::fputs(value ? value : "", file);
    std::fputs("\n", file);
}

} // namespace

struct ScanAttributeWrapper::Data {
    ScanAttributeMap table;
    ServerAttributeList* exported = nullptr;
};

ScanAttributeWrapper::ScanAttributeWrapper(QuorvelWrapperIntf* serverAccess,
                                           const ServerAttributeList* source)
    : BaseObject("ScanAttributeWrapper"), m_serverAccess(serverAccess),
      m_data(std::make_unique<Data>()) {
    if (!source || source->count < 1 || !source->keys || !source->values) {
        return;
    }
    for (int32_t i = 0; i < source->count; ++i) {
        if (source->keys[i]) {
            SetAttribute(source->keys[i], source->values[i] ? source->values[i] : "");
        }
    }
}

ScanAttributeWrapper::~ScanAttributeWrapper() {
    FreeServerList();
}

QuorMemoryAllocator* ScanAttributeWrapper::Allocator() const {
    return dynamic_cast<QuorMemoryAllocator*>(m_serverAccess);
}

void ScanAttributeWrapper::Clear() {
    FreeServerList();
    m_data->table.clear();
}

void ScanAttributeWrapper::FreeServerList() {
    if (!m_data->exported) {
        return;
    }
    if (QuorMemoryAllocator* const allocator = Allocator()) {
        allocator->FreeAttributeList(&m_data->exported, true);
    }
    m_data->exported = nullptr;
}

ServerAttributeList* ScanAttributeWrapper::GetServerList() {
    FreeServerList();
    BuildServerList(&m_data->exported);
    return m_data->exported;
}

void ScanAttributeWrapper::BuildServerList(ServerAttributeList** out) {
    QuorMemoryAllocator* const allocator = Allocator();
    if (!out || !allocator) {
        return;
    }
    allocator->FreeAttributeList(out, true);
    ServerAttributeList* list = nullptr;
    allocator->AllocAttributeList(static_cast<int32_t>(m_data->table.size()), &list, __FILE__,
                                  __LINE__);
    try {
        int32_t i = 0;
        for (const auto& [key, value] : m_data->table) {
            list->keys[i] = allocator->DuplicateString(key.c_str(), __FILE__, __LINE__);
            list->values[i] = allocator->DuplicateString(value.c_str(), __FILE__, __LINE__);
            ++i;
        }
    } catch (...) {
        allocator->FreeAttributeList(&list, true);
        throw;
    }
    *out = list;
}

void ScanAttributeWrapper::SaveToFile(const std::string& path) {
    if (path.empty() || m_data->table.empty()) {
        return;
    }
    const TextFile file = OpenForWriting(path);
    if (!file) {
        return;
    }
    for (const auto& [key, value] : m_data->table) {
        WritePair(file.get(), key.c_str(), value.c_str());
    }
}

void ScanAttributeWrapper::Dump() {
    for (const auto& pair : m_data->table) {
        (void)pair;
    }
}

void ScanAttributeWrapper::SetAttribute(const std::string& key, const std::string& value) {
    m_data->table[key] = value;
}

bool ScanAttributeWrapper::InsertAttribute(const std::string& key, const std::string& value) {
    return m_data->table.emplace(key, value).second;
}

void ScanAttributeWrapper::SetBoolAttribute(const std::string& key, bool value) {
    SetAttribute(key, value ? "YES" : "NO");
}

bool ScanAttributeWrapper::HasAttribute(const std::string& key) const {
    return m_data->table.count(key) != 0;
}

std::string ScanAttributeWrapper::GetAttribute(const std::string& key) const {
    const auto found = m_data->table.find(key);
    return found == m_data->table.end() ? std::string() : found->second;
}

void ScanAttributeWrapper::RemoveAttribute(const std::string& key) {
    m_data->table.erase(key);
}

void ScanAttributeWrapper::RemoveAttributesWithPrefix(const std::string& prefix) {
    auto it = m_data->table.lower_bound(prefix);
    while (it != m_data->table.end() && it->first.compare(0, prefix.size(), prefix) == 0) {
        it = m_data->table.erase(it);
    }
}

void ScanAttributeWrapper::WriteToFile(const ServerAttributeList* list, const std::string& path) {
    if (path.empty() || !list || list->count < 1 || !list->keys || !list->values) {
        return;
    }
    const TextFile file = OpenForWriting(path);
    if (!file) {
        return;
    }
    for (int32_t i = 0; i < list->count; ++i) {
        WritePair(file.get(), list->keys[i], list->values[i]);
    }
}
