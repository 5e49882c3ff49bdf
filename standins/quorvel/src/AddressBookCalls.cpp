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

// The entries of one fixture file, or the call's answer when there are none to give.
int ReadEntries(SimCall& call, const std::string& server, const std::string& file,
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

int BookFile(SimCall& call, const char* name, std::string& file) {
    if (!name) {
        return QUORVEL_PARAMETER_MAY_NOT_BE_NULL;
    }
    if (!IsSafeName(name)) {
        call.Note("not a book name");
        return QUORVEL_FUNCTION_NOT_AVAILABLE;
    }
    file = std::string("books\\") + name + ".txt";
    return QUORVEL_OK;
}

// The connection's server folder, or the answer for a bad or dead connection.
int ServerOf(QuorvelServerHandle* server, std::string& name) {
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    const int found = state->FindConnection(server, &connection);
    if (found == QUORVEL_OK) {
        name = connection->server;
    }
    return found;
}

} // namespace

int QUORVEL_CALL SimAddressGetAddrBook(QuorvelServerHandle* server, const char* name,
                                       ServerStringArray** book, int32_t) {
    SimCall call("ADDRESS_sGetAddrBook");
    call.Handle("server", server).Text("name", name);
    if (book) {
        *book = nullptr;
    }
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    std::string serverName;
    const int found = ServerOf(server, serverName);
    if (found != QUORVEL_OK) {
        return call.Return(found);
    }
    if (!book) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    std::string file;
    int result = BookFile(call, name, file);
    BookEntries entries;
    if (result == QUORVEL_OK) {
        result = ReadEntries(call, serverName, file, entries);
    }
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
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    std::string serverName;
    const int found = ServerOf(server, serverName);
    if (found != QUORVEL_OK) {
        return call.Return(found);
    }
    if (!book || !record) {
        return call.Return(QUORVEL_BAD_PARAM);
    }

    BookEntries entries;
    if (byName) {
        std::string file;
        int result = BookFile(call, byName->names ? byName->names->name : nullptr, file);
        if (result == QUORVEL_OK) {
            result = ReadEntries(call, serverName, file, entries);
        }
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
        const int result = ReadEntries(call, serverName, "directory.txt", all);
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
    const int id = state->NewId();
    Session& added = state->sessions[id];
    added.kind = SessionKind::Book;
    added.connection = HandleId(server);
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
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Session* session = nullptr;
    const int found = state->FindSession(book, SessionKind::Book, &session);
    if (found != QUORVEL_OK) {
        return call.Return(found);
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
