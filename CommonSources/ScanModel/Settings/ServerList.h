#pragma once
// The user's known print servers and the selected one, kept in the preferences store.
// The selected index is always -1 or the number of a slot, and Save writes the whole list,
// so what is stored is always what the user saw.

#include "ServerInfo.h"

#include <memory>
#include <string>
#include <vector>

namespace CommonCpp {
class XGPreferencesIntf;
}

class ServerList {
public:
    ServerList();
    ServerList(const ServerList& other);
    // Replaces the servers with copies of the other list's, and its selection.
    ServerList& operator=(const ServerList& other);
    virtual ~ServerList();

    virtual std::unique_ptr<ServerList> Clone() const;
    // Takes over a single address of the older layout when no list is stored.
    virtual void Load(CommonCpp::XGPreferencesIntf& store);
    virtual void Save(CommonCpp::XGPreferencesIntf& store) const;
    // With no selection appends and selects a new server for the address; otherwise changes
    // the selected server's address and answers whether it differed.
    virtual bool SetSelectedAddress(const std::string& address);
    // Exact, case-sensitive matches; -1 when none.
    virtual int FindByIpAddress(const std::string& address) const;
    virtual int FindByNickname(const std::string& nickname) const;
    // -1 or an index outside the list clears the selection.
    virtual void SetSelectedIndex(int index);
    virtual int GetSelectedIndex() const;
    virtual int GetServerCount() const;
    virtual int GetSize() const;
    // Takes ownership, appends and selects; returns the new slot's number.
    virtual int Add(ServerInfo* server);
    // Later slots move down and the selection follows its server; removing the selected
    // server leaves none selected.
    virtual void RemoveAt(int index);
    virtual ServerInfo* GetAt(int index) const;
    virtual ServerInfo* GetSelected() const;
    // Takes ownership; a different server already in the slot is deleted.
    virtual void SetAt(int index, ServerInfo* server);
    virtual bool IndexOf(const ServerInfo* server, int& index) const;

private:
    bool ValidIndex(int index) const;
    void CopyFrom(const ServerList& other);

    std::vector<std::unique_ptr<ServerInfo>> m_servers;
    int m_selected = -1;
};
