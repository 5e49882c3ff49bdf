#pragma once
// What the simulated server served as page data, per job and page, kept with the call log; and
// the data failures a test asks for: one answer at the first, a middle or the last block of
// what a request renders fails, leaves the caller's size as the caller set it and scribbles
// over its buffer, as a library whose receive broke off half-way.

#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace orvexsim {

enum class DataBlock { First = 0, Middle = 1, Last = 2 };

class ServedData {
public:
    static ServedData& Instance();

    // An answer that delivered bytes of a job's page (0: the whole job) from offset on.
    void Count(int jobId, int page, long long offset, long long bytes);
    long long Bytes(int jobId, int page) const;
    // Answers that delivered the page's first bytes: how often its data crossed the network.
    int Fetches(int jobId, int page) const;

    void AddFailure(DataBlock block, int code);
    // True, with the code, when a queued failure waits for an answer that would deliver
    // [offset, offset + delivered) of total bytes; the failure is used up.
    bool TakeFailure(long long offset, long long delivered, long long total, int& code);

    // The counts go with the call log; failures only with a reset.
    void ClearCounts();
    void Reset();

private:
    struct Served {
        long long bytes = 0;
        int fetches = 0;
    };

    ServedData() = default;

    mutable std::mutex m_mutex;
    std::map<std::pair<int, int>, Served> m_served;
    std::deque<std::pair<DataBlock, int>> m_failures;
};

} // namespace orvexsim
