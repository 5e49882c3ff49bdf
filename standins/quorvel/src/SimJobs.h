#pragma once
// Jobs held on a simulated server: read from the server's jobs/ folder at each call (through
// SimFileCache), filed directly or in mailboxes (passwords in mailboxes.txt), minus the jobs
// clients deleted.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "SimFixtures.h"
#include "quorvel_api.h"

namespace orvexsim {

struct SimPage {
    int number = 0;
    std::string path;
    // Upper case: "JPEG", "TIFF", "PNG", "BMP", "PDF" or the file's extension.
    std::string format;
    long long fileSize = 0;
    // Last write time, so rendered data of a rewritten fixture are not reused.
    unsigned long long stamp = 0;
    // From page<N>.txt (may be empty).
    Pairs description;
};

struct SimJob {
    int id = 0;
    std::string owner;
    std::string name;
    std::string date;
    std::uint32_t size = 0;
    // What SCAN_getNumPagesInJob answers: "entry.pages", else the number of page files.
    int pageCount = 0;
    // The job's attributes in file order; "MAILBOX" files the job.
    Pairs attributes;
    // The "MAILBOX" value as the server compares it (see SimServerJobs::Normalize).
    std::string mailbox;
    std::vector<SimPage> pages;
};

struct SimServerJobs {
    // "E_MBOX_PASSWORD" = "YES": mailbox passwords are checked and protected jobs hidden from
    // the plain calls.
    bool passwords = false;
    // "E_STR_MBOX_NAMES" = "YES": mailbox names are texts; otherwise digit names are numbers.
    bool stringNames = false;
    // Normalized mailbox name -> password, from mailboxes.txt.
    std::vector<std::pair<std::string, std::string>> mailboxes;
    // In id order, deleted ones left out.
    std::vector<SimJob> jobs;

    // On a server without string names, a name of 1 to 4 digits becomes its number without
    // leading zeros ("007" -> "7").
    std::string Normalize(const std::string& mailbox) const;
    // Empty when the mailbox has none or passwords are not checked.
    std::string PasswordOf(const std::string& normalized) const;
    bool IsProtected(const SimJob& job) const;
    bool HasMailbox(const std::string& normalized) const;
    const SimJob* Find(int id) const;
};

// Loads the jobs of a server; false with code (MALFORMED_ATTRIBUTES) and error text naming the
// file, line and reason when a fixture is malformed.
bool LoadServerJobs(const std::string& server, const std::set<int>& deleted, SimServerJobs& jobs,
                    int& code, std::string& error);

// The answer to a job call that names a mailbox (or none: mailbox null for the plain calls):
// QUORVEL_OK with the job, JOB_NOT_FOUND, or ACCESS_DENIED for a protected job reached
// without its mailbox name and password.
int ReachJob(const SimServerJobs& jobs, int id, const char* mailbox, const char* password,
             const SimJob** job);

// A job list on the library heap; null when the heap is exhausted.
ScanJobList* BuildJobList(const std::vector<const SimJob*>& jobs);

// The page description: the picture's own values, then page<N>.txt pairs (replacing a derived
// value of the same key, else added). False when the page cannot be read at all.
bool DescribePage(const SimPage& page, Pairs& description, std::string& error);

} // namespace orvexsim
