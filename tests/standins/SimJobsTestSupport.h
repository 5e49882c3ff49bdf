#pragma once
// Helpers for tests of the simulated servers' stored jobs: attribute lists built in the test,
// the committed servers' page files, and whole downloads.

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "SimTestSupport.h"

// An attribute list that owns its texts, as a client builds one for a data request.
class RequestList {
public:
    RequestList(std::initializer_list<std::pair<std::string, std::string>> pairs = {})
        : m_pairs(pairs) {
        Build();
    }
    // A job's own attributes followed by more pairs, as a page request is built.
    RequestList(const ServerAttributeList& job,
                std::initializer_list<std::pair<std::string, std::string>> more) {
        for (int i = 0; i < job.count; ++i) {
            m_pairs.emplace_back(job.keys[i], job.values[i]);
        }
        m_pairs.insert(m_pairs.end(), more.begin(), more.end());
        Build();
    }
    RequestList(const RequestList&) = delete;
    RequestList& operator=(const RequestList&) = delete;

    ServerAttributeList* Get() { return &m_list; }

private:
    void Build() {
        for (auto& pair : m_pairs) {
            m_keys.push_back(&pair.first[0]);
            m_values.push_back(&pair.second[0]);
        }
        m_list.keys = m_keys.data();
        m_list.values = m_values.data();
        m_list.count = static_cast<int32_t>(m_pairs.size());
    }

    std::vector<std::pair<std::string, std::string>> m_pairs;
    std::vector<char*> m_keys;
    std::vector<char*> m_values;
    ServerAttributeList m_list = {};
};

// A file of a committed server as the build made it (bin\servers\...); empty when missing.
inline std::string ServerFileBytes(const std::string& relative) {
    char root[MAX_PATH] = {};
    OrvexSim_SetFixtureRoot(nullptr);
    OrvexSim_GetFixtureRoot(root, sizeof(root));
    std::ifstream file(std::string(root) + "\\" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Every block of a job's data for the request, asked block bytes at a time until an answer
// delivers fewer; result is the first failure or 0.
inline std::string DownloadAll(QuorvelSessionHandle& session, int job, ServerAttributeList* list,
                               int block, int& result, const char* mailbox = nullptr,
                               const char* password = nullptr) {
    std::string data;
    std::vector<char> buffer(static_cast<size_t>(block));
    result = QUORVEL_OK;
    for (int rounds = 0; rounds < 100000; ++rounds) {
        int32_t size = block;
        result = mailbox ? SCAN_getDataInMailbox(&session, mailbox, password, job, list,
                                                 static_cast<int32_t>(data.size()), buffer.data(),
                                                 &size, 0)
                         : SCAN_getDataEx(&session, job, list, static_cast<int32_t>(data.size()),
                                          buffer.data(), &size, 0);
        if (result != QUORVEL_OK) {
            break;
        }
        data.append(buffer.data(), static_cast<size_t>(size));
        if (size < block) {
            break;
        }
    }
    return data;
}
