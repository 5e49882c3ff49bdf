// quorvel_zyl's address-book calls over the server's books/<name>.txt and directory.txt
// (SimAddressBooks.h): the whole-book list, and the books and directory searches that are
// opened and then read in batches.

#include <algorithm>
#include <map>
#include <mutex>
#include <string>

#include "SimAddressBooks.h"
#include "SimBridge.h"
#include "SimFixtures.h"
#include "SimRecords.h"
#include "Simulator.h"

namespace orvexsim {

namespace {

// What an open book still has to hand out, by session id. A closed or dropped session is never
// looked up again (its handle no longer names a book), and its leftovers go on the next open.
struct OpenBook {
    BookEntries entries;
    size_t next = 0;
};

std::mutex g_booksMutex;
std::map<int, OpenBook> g_books;

// The entries of the book of that name, or the call's answer when there are none to give.
int ReadBook(SimCall& call, const std::string& server, const char* name, BookEntries& entries) {
    if (!name) {
        return QUORVEL_PARAMETER_MAY_NOT_BE_NULL;
    }
    if (!IsSafeName(name)) {
        call.Note("not a book name");
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    return ReadBookEntries(call, server, std::string("books\\") + name + ".txt", entries);
}

} // namespace

int ReadBookEntries(SimCall& call, const std::string& server, const std::string& file,
                    BookEntries& entries) {
    std::string error;
    switch (ReadBookFile(ServerFile(server, file), entries, error)) {
    case FixtureStatus::Missing:
        // The server offers no such book.
        call.Note("no " + file);
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    case FixtureStatus::Malformed:
        call.Note(error);
        return QUORVEL_GENERAL_FAILURE;
    case FixtureStatus::Ok:
        break;
    }
    return QUORVEL_OK;
}

int QUORVEL_CALL SimAddressGetAddrBook(QuorvelServerHandle* server, const char* name,
                                       ServerStringArray** book, int32_t) {
    SimCall call("ADDRESS_sGetAddrBook");
    call.Handle("server", server).Text("name", name);
    if (book) {
        *book = nullptr;
    }
    std::string serverName;
    if (!call.Admit(ServerOf(server, serverName))) {
        return call.Result();
    }
    if (!book) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    BookEntries entries;
    const int result = ReadBook(call, serverName, name, entries);
    if (result != QUORVEL_OK) {
        return call.Return(result);
    }
    std::vector<std::string> texts;
    for (const BookEntry& entry : entries) {
        texts.push_back(BookEntryText(entry));
    }
    *book = BuildStringArray(texts);
    if (!*book) {
        return call.Return(QUORVEL_OUT_OF_MEMORY);
    }
    call.OutInt("count", static_cast<long long>(texts.size()));
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL SimAddressOpenBookEx(QuorvelServerHandle* server, QuorvelSessionHandle* book,
                                      int32_t selector, void* record, int32_t, int32_t) {
    SimCall call("ADDRESS_OpenBookEx");
    call.Handle("server", server).Int("selector", selector);
    const QuorvelBookSelection* byName = nullptr;
    const QuorvelDirectoryQuery* query = nullptr;
    if (!record) {
        call.Raw("record", "null");
    } else if (selector == QUORVEL_BOOK_BY_NAME) {
        byName = static_cast<const QuorvelBookSelection*>(record);
        call.Text("name", byName->names ? byName->names->name : nullptr);
    } else if (selector == QUORVEL_BOOK_DIRECTORY_SEARCH) {
        query = static_cast<const QuorvelDirectorySelection*>(record)->query;
        call.Text("filter", query ? query->filter : nullptr);
        call.Raw("names", QuoteNames(query ? query->names : nullptr));
        call.Int("limit", query ? query->limit : 0);
    }
    std::string serverName;
    if (!call.Admit(ServerOf(server, serverName))) {
        return call.Result();
    }
    if (!book || !record) {
        return call.Return(QUORVEL_BAD_PARAM);
    }

    BookEntries entries;
    if (byName) {
        const int result =
            ReadBook(call, serverName, byName->names ? byName->names->name : nullptr, entries);
        if (result != QUORVEL_OK) {
            return call.Return(result);
        }
    } else if (selector == QUORVEL_BOOK_DIRECTORY_SEARCH) {
        if (!query) {
            return call.Return(QUORVEL_BAD_PARAM);
        }
        DirectoryFilter filter;
        std::string reason;
        if (query->filter && !filter.Parse(query->filter, reason)) {
            call.Note("filter: " + reason);
            return call.Return(QUORVEL_BAD_PARAM);
        }
        BookEntries all;
        const int result = ReadBookEntries(call, serverName, "directory.txt", all);
        if (result != QUORVEL_OK) {
            return call.Return(result);
        }
        for (const BookEntry& entry : all) {
            if (query->limit > 0 && entries.size() >= static_cast<size_t>(query->limit)) {
                break;
            }
            if (!query->filter || filter.Matches(entry)) {
                entries.push_back(entry);
            }
        }
    } else {
        return call.Return(QUORVEL_BAD_PARAM);
    }

    Simulator::Access state = Simulator::Instance().Lock();
    const int id = state->NewSession(SessionKind::Book, HandleId(server));
    {
        std::lock_guard<std::mutex> lock(g_booksMutex);
        for (auto it = g_books.begin(); it != g_books.end();) {
            it = state->sessions.count(it->first) ? std::next(it) : g_books.erase(it);
        }
        g_books[id] = OpenBook{entries, 0};
    }
    PackSession(book, id);
    call.OutHandle("book", book).OutInt("entries", static_cast<long long>(entries.size()));
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL SimAddressReadBookEntriesEx(QuorvelSessionHandle* book, int32_t batchSize,
                                             QuorvelAddressEntryList** entries, int32_t* atEnd,
                                             int32_t) {
    SimCall call("ADDRESS_ReadBookEntriesEx");
    call.Handle("book", book).Int("batch", batchSize);
    if (entries) {
        *entries = nullptr;
    }
    if (atEnd) {
        *atEnd = 1; // a reader that loops on the flag alone still stops
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Session* session = nullptr;
    if (!call.Admit(state->FindSession(book, SessionKind::Book, &session))) {
        return call.Result();
    }
    if (!entries || !atEnd || batchSize <= 0) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    std::lock_guard<std::mutex> lock(g_booksMutex);
    OpenBook& open = g_books[HandleId(book)];
    const size_t count = std::min(static_cast<size_t>(batchSize), open.entries.size() - open.next);
    *entries = BuildAddressEntryList(open.entries, open.next, count);
    if (!*entries) {
        return call.Return(QUORVEL_OUT_OF_MEMORY);
    }
    open.next += count;
    *atEnd = open.next >= open.entries.size() ? 1 : 0;
    call.OutInt("count", static_cast<long long>(count)).OutInt("end", *atEnd);
    return call.Return(QUORVEL_OK);
}

} // namespace orvexsim
