#include "ServerList.h"

#include "XGPreferencesIntf.h"

#include <cstdio>

namespace {

const char* const kNumServers = "numservers";
const char* const kSelectedServer = "selectedserver";
const char* const kOldIpAddress = "ipaddress";
const char* const kOldUserName = "username";
const char* const kOldUserPassword = "userpassword";
const char* const kDefaultNickname = "MyOrvex";

std::string SlotName(const char* format, int slot) {
    char name[64];
    std::snprintf(name, sizeof name, format, slot);
    return name;
}

} // namespace

ServerList::ServerList() = default;

ServerList::ServerList(const ServerList& other) {
    CopyFrom(other);
}

ServerList& ServerList::operator=(const ServerList& other) {
    if (this != &other) {
        CopyFrom(other);
    }
    return *this;
}

ServerList::~ServerList() = default;

void ServerList::CopyFrom(const ServerList& other) {
    std::vector<std::unique_ptr<ServerInfo>> copies;
    copies.reserve(other.m_servers.size());
    for (const auto& server : other.m_servers) {
        copies.push_back(server ? std::make_unique<ServerInfo>(*server) : nullptr);
    }
    m_servers = std::move(copies);
    m_selected = other.m_selected;
}

std::unique_ptr<ServerList> ServerList::Clone() const {
    return std::make_unique<ServerList>(*this);
}

void ServerList::Load(CommonCpp::XGPreferencesIntf& store) {
    const std::string oldAddress = store.GetStringOrEmpty(kOldIpAddress);
    if (store.GetStringOrEmpty(kNumServers).empty()) {
        // Older layout: one address and no list.
        if (!oldAddress.empty()) {
            Add(new ServerInfo(true, "", oldAddress, kDefaultNickname, true));
        }
        return;
    }

    m_servers.clear();
    m_selected = -1;
    const int count = store.GetIntByValue(kNumServers, 0);
    int selected = -1;
    if (count > 0) {
        selected = store.GetIntByValue(kSelectedServer, 0);
    }
    for (int i = 0; i < count; ++i) {
        auto server = std::make_unique<ServerInfo>();
        server->deviceName = store.GetStringOrEmpty(SlotName("devicename_%d", i));
        server->ipAddress = store.GetStringOrEmpty(SlotName("ipaddress_%d", i));
        server->nickname = store.GetStringOrEmpty(SlotName("nickname_%d", i));
        const std::string show = store.GetStringOrEmpty(SlotName("show_nickname_%d", i));
        server->showNickname = !show.empty() && show[0] == '1';
        m_servers.push_back(std::move(server));
    }
    // A stored selection that names no slot selects nothing.
    m_selected = ValidIndex(selected) ? selected : -1;

    for (int i = GetSize() - 1; i >= 0; --i) {
        const ServerInfo* server = m_servers[static_cast<size_t>(i)].get();
        if (server->deviceName.empty() && server->ipAddress.empty() && server->nickname.empty()) {
            RemoveAt(i);
        }
    }
}

void ServerList::Save(CommonCpp::XGPreferencesIntf& store) const {
    store.DeleteValue(kOldIpAddress);
    store.DeleteValue(kOldUserName);
    store.DeleteValue(kOldUserPassword);
    store.SetInt(kNumServers, GetSize());
    store.SetInt(kSelectedServer, m_selected);
    for (int i = 0; i < GetSize(); ++i) {
        const ServerInfo* server = m_servers[static_cast<size_t>(i)].get();
        if (server == nullptr) {
            store.SetString(SlotName("servername_%d", i), "");
            store.SetString(SlotName("devicename_%d", i), "");
            store.SetString(SlotName("ipaddress_%d", i), "");
            store.SetString(SlotName("nickname_%d", i), "");
            store.SetString(SlotName("show_nickname_%d", i), "0");
            continue;
        }
        store.SetString(SlotName("devicename_%d", i), server->deviceName);
        store.SetString(SlotName("ipaddress_%d", i), server->ipAddress);
        store.SetString(SlotName("nickname_%d", i), server->nickname);
        store.SetString(SlotName("show_nickname_%d", i), server->showNickname ? "1" : "0");
    }
}

bool ServerList::SetSelectedAddress(const std::string& address) {
    ServerInfo* selected = GetSelected();
    if (selected == nullptr) {
        auto server = std::make_unique<ServerInfo>();
        server->ipAddress = address;
        Add(server.release());
        return true;
    }
    const bool changed = selected->ipAddress != address;
    selected->ipAddress = address;
    return changed;
}

int ServerList::FindByIpAddress(const std::string& address) const {
    for (int i = 0; i < GetSize(); ++i) {
        const ServerInfo* server = m_servers[static_cast<size_t>(i)].get();
        if (server != nullptr && server->ipAddress == address) {
            return i;
        }
    }
    return -1;
}

int ServerList::FindByNickname(const std::string& nickname) const {
    for (int i = 0; i < GetSize(); ++i) {
        const ServerInfo* server = m_servers[static_cast<size_t>(i)].get();
        if (server != nullptr && server->nickname == nickname) {
            return i;
        }
    }
    return -1;
}

void ServerList::SetSelectedIndex(int index) {
    m_selected = ValidIndex(index) ? index : -1;
}

int ServerList::GetSelectedIndex() const {
    return m_selected;
}

int ServerList::GetServerCount() const {
    int count = 0;
    for (const auto& server : m_servers) {
        if (server) {
            ++count;
        }
    }
    return count;
}

int ServerList::GetSize() const {
    return static_cast<int>(m_servers.size());
}

int ServerList::Add(ServerInfo* server) {
    m_servers.emplace_back(server);
    m_selected = GetSize() - 1;
    return m_selected;
}

void ServerList::RemoveAt(int index) {
    if (!ValidIndex(index) || !m_servers[static_cast<size_t>(index)]) {
        return;
    }
    if (index == m_selected) {
        m_selected = -1;
    } else if (index < m_selected) {
        --m_selected;
    }
    m_servers.erase(m_servers.begin() + index);
}

ServerInfo* ServerList::GetAt(int index) const {
    return ValidIndex(index) ? m_servers[static_cast<size_t>(index)].get() : nullptr;
}

ServerInfo* ServerList::GetSelected() const {
    return GetAt(m_selected);
}

void ServerList::SetAt(int index, ServerInfo* server) {
    std::unique_ptr<ServerInfo> owned(server);
    if (!ValidIndex(index)) {
        return;
    }
    auto& slot = m_servers[static_cast<size_t>(index)];
    if (slot.get() == server) {
        owned.release();
        return;
    }
    slot = std::move(owned);
}

bool ServerList::IndexOf(const ServerInfo* server, int& index) const {
    for (int i = 0; i < GetSize(); ++i) {
        if (m_servers[static_cast<size_t>(i)].get() == server) {
            index = i;
            return true;
        }
    }
    return false;
}

bool ServerList::ValidIndex(int index) const {
    return index >= 0 && index < GetSize();
}
