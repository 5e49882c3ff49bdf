#include "zylDirectory.h"

#include "TwainDefs.h"
#include "zylImageFile.h"

zylDirectory::zylDirectory(zylDirectory* parent) : zylFileObj(parent) {
    SetClassName("zylDirectory");
    SetFileType(TWFY_DIRECTORY);
}

zylDirectory::zylDirectory(const zylDirectory& source, zylDirectory* parent)
    : zylFileObj(source, parent), m_entries(source.m_entries.GetCount()) {
    SetClassName("zylDirectory");
    try {
        for (std::uint32_t i = 0; i < source.m_entries.GetCount(); ++i) {
            const zylFileObj* entry = source.m_entries.GetAt(i);
            if (entry != nullptr) {
                zylFileObj* copy = entry->Clone(this);
                copy->m_parent = this;
                copy->m_placedIn = this;
                m_entries.SetAt(i, copy);
            }
        }
    } catch (...) {
        // The destructor does not run for a half-built copy.
        DeleteEntries();
        throw;
    }
}

zylDirectory::~zylDirectory() {
    DeleteEntries();
}

void zylDirectory::DeleteEntries() {
    m_destroying = true;
    for (std::uint32_t i = 0; i < m_entries.GetCount(); ++i) {
        zylFileObj* entry = m_entries.GetAt(i);
        if (entry != nullptr) {
            delete entry;
            m_entries.SetAt(i, nullptr);
        }
    }
    m_destroying = false;
}

zylDirectory* zylDirectory::Clone(zylDirectory* parent) const {
    return new zylDirectory(*this, parent);
}

zylDirectory* zylDirectory::CloneSameParent() const {
    return Clone(GetParent());
}

void zylDirectory::AddEntry(zylFileObj* entry) {
    if (entry == nullptr || entry->m_placedIn == this) {
        return;
    }
    if (entry->m_placedIn != nullptr) {
        entry->m_placedIn->RemoveEntry(entry);
    }
    std::uint32_t place = 0;
    while (place < m_entries.GetCount() && m_entries.GetAt(place) != nullptr) {
        ++place;
    }
    if (place == m_entries.GetCount()) {
        m_entries.Append(nullptr);
    }
    m_entries.SetAt(place, entry);
    entry->m_parent = this;
    entry->m_placedIn = this;
}

void zylDirectory::RemoveEntry(zylFileObj* entry) {
    if (m_destroying || entry == nullptr) {
        return;
    }
    for (std::uint32_t i = 0; i < m_entries.GetCount(); ++i) {
        if (m_entries.GetAt(i) == entry) {
            m_entries.SetAt(i, nullptr);
            if (entry->m_placedIn == this) {
                entry->m_placedIn = nullptr;
            }
            return;
        }
    }
}

std::int32_t zylDirectory::CountImageFiles() const {
    std::int32_t count = 0;
    for (std::uint32_t i = 0; i < m_entries.GetCount(); ++i) {
        const zylFileObj* entry = m_entries.GetAt(i);
        if (entry == nullptr) {
            continue;
        }
        if (entry->GetFileType() == TWFY_IMAGE) {
            ++count;
        } else if (entry->GetFileType() == TWFY_DIRECTORY) {
            if (const auto* directory = dynamic_cast<const zylDirectory*>(entry)) {
                count += directory->CountImageFiles();
            }
        }
    }
    return count;
}

zylFileObj* zylDirectory::FindByName(const std::string& name) const {
    for (std::uint32_t i = 0; i < m_entries.GetCount(); ++i) {
        zylFileObj* entry = m_entries.GetAt(i);
        if (entry != nullptr && entry->GetName() == name) {
            return entry;
        }
    }
    return nullptr;
}

std::uint32_t zylDirectory::GetCount() const {
    return m_entries.GetCount();
}

zylImageFile* zylDirectory::GetImageFileAt(std::uint32_t index) const {
    return dynamic_cast<zylImageFile*>(GetFileObjAt(index));
}

zylDirectory* zylDirectory::GetDirectoryAt(std::uint32_t index) const {
    return dynamic_cast<zylDirectory*>(GetFileObjAt(index));
}

zylFileObj* zylDirectory::GetFileObjAt(std::uint32_t index) const {
    return index < m_entries.GetCount() ? m_entries.GetAt(index) : nullptr;
}

zylDirectory::Entries& zylDirectory::GetEntries() {
    return m_entries;
}

const zylDirectory::Entries& zylDirectory::GetEntries() const {
    return m_entries;
}

zylImageFile* zylDirectory::FindImageFileByJobID(std::uint32_t jobId) const {
    for (std::uint32_t i = 0; i < m_entries.GetCount(); ++i) {
        zylFileObj* entry = m_entries.GetAt(i);
        if (auto* image = dynamic_cast<zylImageFile*>(entry)) {
            if (image->GetJobID() == jobId) {
                return image;
            }
        } else if (auto* directory = dynamic_cast<zylDirectory*>(entry)) {
            if (zylImageFile* found = directory->FindImageFileByJobID(jobId)) {
                return found;
            }
        }
    }
    return nullptr;
}
