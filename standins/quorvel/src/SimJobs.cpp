#include "SimJobs.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "SimFileCache.h"
#include "SimHeap.h"
#include "SimRecords.h"
#include "WicCodec.h"

namespace orvexsim {

namespace {

const char kEntryPrefix[] = "entry.";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool IsDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// A positive decimal without leading zeros.
bool ParseNumber(const std::string& text, int& value) {
    return IsDigits(text) && text[0] != '0' && ParseInt(text, value) && value > 0;
}

std::string FormatOfExtension(const std::string& extension) {
    const std::string lower = Lower(extension);
    if (lower == "jpg" || lower == "jpeg") {
        return "JPEG";
    }
    if (lower == "tif" || lower == "tiff") {
        return "TIFF";
    }
    return Upper(lower);
}

// "page<N>.<ext>": the page number and the extension; false for any other name.
bool SplitPageName(const std::string& fileName, int& number, std::string& extension) {
    const std::string lower = Lower(fileName);
    if (lower.compare(0, 4, "page") != 0) {
        return false;
    }
    const size_t dot = lower.find('.', 4);
    if (dot == std::string::npos || dot + 1 >= lower.size()) {
        return false;
    }
    extension = lower.substr(dot + 1);
    return ParseNumber(lower.substr(4, dot - 4), number);
}

bool Malformed(const std::string& path, const std::string& reason, int& code, std::string& error) {
    code = QUORVEL_MALFORMED_ATTRIBUTES;
    error = path + ": " + reason;
    return false;
}

bool LoadJob(const std::string& folder, int id, const SimServerJobs& server, SimJob& job, int& code,
             std::string& error) {
    job.id = id;
    Pairs pairs;
    switch (ReadDumpFile(folder + "\\job.txt", pairs, error)) {
    case FixtureStatus::Missing:
        return Malformed(folder, "no job.txt", code, error);
    case FixtureStatus::Malformed:
        code = QUORVEL_MALFORMED_ATTRIBUTES;
        return false;
    case FixtureStatus::Ok:
        break;
    }
    bool hasSize = false;
    bool hasPages = false;
    for (const auto& pair : pairs) {
        if (pair.first.compare(0, sizeof(kEntryPrefix) - 1, kEntryPrefix) != 0) {
            job.attributes.push_back(pair);
            if (pair.first == "MAILBOX") {
                job.mailbox = server.Normalize(pair.second);
            }
            continue;
        }
        const std::string field = pair.first.substr(sizeof(kEntryPrefix) - 1);
        int number = 0;
        if (field == "owner") {
            job.owner = pair.second;
        } else if (field == "name") {
            job.name = pair.second;
        } else if (field == "date") {
            job.date = pair.second;
        } else if (field == "size") {
            if (!ParseInt(pair.second, number) || number < 0) {
                return Malformed(folder + "\\job.txt", "entry.size is not a size", code, error);
            }
            job.size = static_cast<std::uint32_t>(number);
            hasSize = true;
        } else if (field == "pages") {
            if (!ParseInt(pair.second, number)) {
                return Malformed(folder + "\\job.txt", "entry.pages is not a number", code, error);
            }
            job.pageCount = number;
            hasPages = true;
        } else {
            return Malformed(folder + "\\job.txt", "unknown entry field " + pair.first, code,
                             error);
        }
    }
    std::map<int, SimPage> pages;
    std::map<int, std::string> descriptions;
    for (const FolderEntry& entry : SimFileCache::Instance().List(folder)) {
        int number = 0;
        std::string extension;
        if (Lower(entry.name) == "job.txt") {
            continue;
        }
        if (entry.folder || !SplitPageName(entry.name, number, extension)) {
            return Malformed(folder + "\\" + entry.name, "not a page file", code, error);
        }
        if (extension == "txt") {
            descriptions[number] = folder + "\\" + entry.name;
            continue;
        }
        if (pages.count(number)) {
            return Malformed(folder + "\\" + entry.name, "a second file for this page", code,
                             error);
        }
        SimPage& page = pages[number];
        page.number = number;
        page.path = folder + "\\" + entry.name;
        page.format = FormatOfExtension(extension);
        page.fileSize = entry.size;
        page.stamp = entry.stamp;
    }
    int expected = 1;
    for (auto& numbered : pages) {
        if (numbered.first != expected++) {
            return Malformed(folder, "page " + std::to_string(expected - 1) + " is missing", code,
                             error);
        }
    }
    for (const auto& description : descriptions) {
        const auto page = pages.find(description.first);
        if (page == pages.end()) {
            return Malformed(description.second, "describes a page that has no file", code, error);
        }
        if (ReadDumpFile(description.second, page->second.description, error) ==
            FixtureStatus::Malformed) {
            code = QUORVEL_MALFORMED_ATTRIBUTES;
            return false;
        }
    }
    long long total = 0;
    for (auto& numbered : pages) {
        total += numbered.second.fileSize;
        job.pages.push_back(std::move(numbered.second));
    }
    if (!hasSize) {
        job.size = static_cast<std::uint32_t>(total);
    }
    if (!hasPages) {
        job.pageCount = static_cast<int>(job.pages.size());
    }
    return true;
}

void CopyField(char* field, size_t size, const std::string& text) {
    const size_t length = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

std::string FlagOf(const Pairs& attributes, const char* key) {
    const std::string* const value = FindValue(attributes, key);
    return value ? *value : std::string();
}

} // namespace

std::string SimServerJobs::Normalize(const std::string& mailbox) const {
    if (stringNames || !IsDigits(mailbox) || mailbox.size() > 4) {
        return mailbox;
    }
    return std::to_string(std::stoi(mailbox));
}

std::string SimServerJobs::PasswordOf(const std::string& normalized) const {
    if (!passwords) {
        return std::string();
    }
    for (const auto& mailbox : mailboxes) {
        if (mailbox.first == normalized) {
            return mailbox.second;
        }
    }
    return std::string();
}

bool SimServerJobs::IsProtected(const SimJob& job) const {
    return !job.mailbox.empty() && !PasswordOf(job.mailbox).empty();
}

bool SimServerJobs::HasMailbox(const std::string& normalized) const {
    for (const auto& mailbox : mailboxes) {
        if (mailbox.first == normalized) {
            return true;
        }
    }
    return std::any_of(jobs.begin(), jobs.end(),
                       [&](const SimJob& job) { return job.mailbox == normalized; });
}

const SimJob* SimServerJobs::Find(int id) const {
    for (const SimJob& job : jobs) {
        if (job.id == id) {
            return &job;
        }
    }
    return nullptr;
}

bool LoadServerJobs(const std::string& server, const std::set<int>& deleted, SimServerJobs& jobs,
                    int& code, std::string& error) {
    jobs = SimServerJobs();
    Pairs attributes;
    if (ReadDumpFile(ServerFile(server, "attributes.txt"), attributes, error) ==
        FixtureStatus::Malformed) {
        code = QUORVEL_MALFORMED_ATTRIBUTES;
        return false;
    }
    jobs.passwords = FlagOf(attributes, "E_MBOX_PASSWORD") == "YES";
    jobs.stringNames = FlagOf(attributes, "E_STR_MBOX_NAMES") == "YES";
    Pairs mailboxes;
    if (ReadDumpFile(ServerFile(server, "mailboxes.txt"), mailboxes, error) ==
        FixtureStatus::Malformed) {
        code = QUORVEL_MALFORMED_ATTRIBUTES;
        return false;
    }
    for (const auto& mailbox : mailboxes) {
        jobs.mailboxes.emplace_back(jobs.Normalize(mailbox.first), mailbox.second);
    }
    const std::string root = ServerFile(server, "jobs");
    std::vector<std::pair<int, std::string>> folders;
    for (const FolderEntry& entry : SimFileCache::Instance().List(root)) {
        int id = 0;
        if (!entry.folder || !ParseNumber(entry.name, id)) {
            return Malformed(root + "\\" + entry.name, "not a job folder (a job id)", code, error);
        }
        folders.emplace_back(id, root + "\\" + entry.name);
    }
    std::sort(folders.begin(), folders.end());
    for (const auto& folder : folders) {
        if (deleted.count(folder.first)) {
            continue;
        }
        SimJob job;
        if (!LoadJob(folder.second, folder.first, jobs, job, code, error)) {
            return false;
        }
        jobs.jobs.push_back(std::move(job));
    }
    return true;
}

int ReachJob(const SimServerJobs& jobs, int id, const char* mailbox, const char* password,
             const SimJob** job) {
    const SimJob* const found = jobs.Find(id);
    if (!found) {
        return QUORVEL_JOB_NOT_FOUND;
    }
    const std::string name = mailbox ? jobs.Normalize(mailbox) : std::string();
    if (!name.empty() && name != found->mailbox) {
        return QUORVEL_JOB_NOT_FOUND;
    }
    if (jobs.IsProtected(*found) &&
        (name.empty() || !password || jobs.PasswordOf(name) != password)) {
        return QUORVEL_ACCESS_DENIED;
    }
    *job = found;
    return QUORVEL_OK;
}

ScanJobList* BuildJobList(const std::vector<const SimJob*>& jobs) {
    SimHeap& heap = SimHeap::Instance();
    auto* const list = static_cast<ScanJobList*>(heap.Allocate(sizeof(ScanJobList)));
    if (!list) {
        return nullptr;
    }
    std::memset(list, 0, sizeof(*list));
    if (jobs.empty()) {
        return list;
    }
    const size_t bytes = jobs.size() * sizeof(ScanJobEntry);
    list->entries = static_cast<ScanJobEntry*>(heap.Allocate(bytes));
    if (!list->entries) {
        heap.Free(list);
        return nullptr;
    }
    std::memset(list->entries, 0, bytes);
    list->count = static_cast<int32_t>(jobs.size());
    for (size_t i = 0; i < jobs.size(); ++i) {
        ScanJobEntry& entry = list->entries[i];
        entry.jobId = jobs[i]->id;
        CopyField(entry.owner, sizeof(entry.owner), jobs[i]->owner);
        CopyField(entry.name, sizeof(entry.name), jobs[i]->name);
        CopyField(entry.date, sizeof(entry.date), jobs[i]->date);
        entry.size = jobs[i]->size;
        ServerAttributeList* const attributes = BuildAttributeList(jobs[i]->attributes);
        if (!attributes) {
            FreeJobList(list);
            return nullptr;
        }
        entry.attributes = *attributes;
        heap.Free(attributes);
    }
    return list;
}

bool DescribePage(const SimPage& page, Pairs& description, std::string& error) {
    description.clear();
    std::string bytes;
    wicimage::EncodedInfo info;
    if (wicimage::ReadWholeFile(page.path, bytes) && wicimage::Probe(bytes, info, error)) {
        const int bits = info.kind == wicimage::PixelKind::Colour ? 24
                         : info.kind == wicimage::PixelKind::Grey ? 8
                                                                  : 1;
        description = {
            {"X_PIXELS", std::to_string(info.width)},
            {"Y_PIXELS", std::to_string(info.height)},
            {"X_RESOLUTION", std::to_string(static_cast<int>(info.dpiX + 0.5))},
            {"Y_RESOLUTION", std::to_string(static_cast<int>(info.dpiY + 0.5))},
            {"COLOR_MODE", bits == 24  ? "COLOR"
                           : bits == 8 ? "GRAYSCALE"
                                       : "BLACK_WHITE"},
            {"BITS_PER_PIXEL", std::to_string(bits)},
            {"N_CHANNELS", bits == 24 ? "3" : "1"},
            {"FILE_FORMAT", page.format},
        };
    } else if (page.description.empty()) {
        error = page.path + ": " + (error.empty() ? "cannot be read" : error);
        return false;
    }
    for (const auto& pair : page.description) {
        const auto same =
            std::find_if(description.begin(), description.end(),
                         [&](const auto& known) { return known.first == pair.first; });
        if (same != description.end()) {
            same->second = pair.second;
        } else {
            description.push_back(pair);
        }
    }
    return true;
}

} // namespace orvexsim
