#include "SimServedData.h"

#include <algorithm>

namespace orvexsim {

namespace {

bool IsBlock(DataBlock block, long long offset, long long delivered, long long total) {
    if (delivered <= 0) {
        return false;
    }
    switch (block) {
    case DataBlock::First:
        return offset == 0;
    case DataBlock::Middle:
        return offset > 0 && offset + delivered < total;
    case DataBlock::Last:
        return offset + delivered == total;
    }
    return false;
}

} // namespace

ServedData& ServedData::Instance() {
    static ServedData instance;
    return instance;
}

void ServedData::Count(int jobId, int page, long long offset, long long bytes) {
    if (bytes <= 0) {
        return;
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    Served& served = m_served[{jobId, page}];
    served.bytes += bytes;
    if (offset == 0) {
        ++served.fetches;
    }
}

long long ServedData::Bytes(int jobId, int page) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_served.find({jobId, page});
    return found == m_served.end() ? 0 : found->second.bytes;
}

int ServedData::Fetches(int jobId, int page) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_served.find({jobId, page});
    return found == m_served.end() ? 0 : found->second.fetches;
}

void ServedData::AddFailure(DataBlock block, int code) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_failures.emplace_back(block, code);
}

bool ServedData::TakeFailure(long long offset, long long delivered, long long total, int& code) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = std::find_if(m_failures.begin(), m_failures.end(), [&](const auto& failure) {
        return IsBlock(failure.first, offset, delivered, total);
    });
    if (found == m_failures.end()) {
        return false;
    }
    code = found->second;
    m_failures.erase(found);
    return true;
}

void ServedData::ClearCounts() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_served.clear();
}

void ServedData::Reset() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_served.clear();
    m_failures.clear();
}

} // namespace orvexsim
