// quorvel_zyl's calls, run inside quorvel10 and reached through OrvexSimInternal_ZylCalls.
// FTP validation answers from the server's ftp_validate.txt; the address books are read from
// the server's fixtures (AddressBookCalls.cpp); the free calls take back any record of the
// library heap.

#include <cstring>
#include <string>

#include "SimAddressBooks.h"
#include "SimBridge.h"
#include "SimFixtures.h"
#include "SimRecords.h"
#include "Simulator.h"

using namespace orvexsim;

namespace {

int QUORVEL_CALL FreeAddrBook(QuorvelServerHandle* server, ServerStringArray** book, int32_t) {
    SimCall call("ADDRESS_sFreeAddrBook");
    call.Handle("server", server).Pointer("book", book ? *book : nullptr);
    if (!call.Admit()) {
        return call.Result();
    }
    if (!book) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (!*book) {
        return call.Return(QUORVEL_OK);
    }
    if (!FreeStringArray(*book)) {
        call.Note("not a string array of the library heap");
        return call.Return(QUORVEL_BAD_PARAM);
    }
    *book = nullptr;
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL FreeBookEntriesEx(QuorvelSessionHandle* book, QuorvelAddressEntryList* entries,
                                   int32_t) {
    SimCall call("ADDRESS_FreeBookEntriesEx");
    call.Handle("book", book).Pointer("entries", entries);
    if (!call.Admit()) {
        return call.Result();
    }
    if (!entries) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (!FreeAddressEntryList(entries)) {
        call.Note("not an entry list of the library heap");
        return call.Return(QUORVEL_BAD_PARAM);
    }
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL CloseBookEx(QuorvelSessionHandle* book, int32_t) {
    SimCall call("ADDRESS_CloseBookEx");
    call.Handle("book", book);
    return RemoveSession(call, book, SessionKind::Book);
}

// The attribute block as the log shows it; false when it is not well formed.
bool DescribeBlock(const SftpAttributeBlock* block, std::string& text) {
    if (!block) {
        text = "null";
        return true;
    }
    text = "[count=" + std::to_string(block->count) + " w2=" + std::to_string(block->reserved2) +
           " w3=" + std::to_string(block->reserved3);
    const bool arrays = block->count <= 0 || (block->keys && block->values);
    bool wellFormed = block->count >= 0 && arrays;
    for (int32_t i = 0; arrays && i < block->count; ++i) {
        text += " " + Quote(block->keys[i]) + "=" + Quote(block->values[i]);
        wellFormed = wellFormed && block->keys[i] && block->values[i];
    }
    text += "]";
    return wellFormed;
}

int QUORVEL_CALL Validate(QuorvelServerHandle* server, SftpValidateRequest* request, int32_t word2,
                          int32_t word3) {
    SimCall call("SFTP_Validate");
    call.Handle("server", server);
    std::string block = "null";
    bool wellFormed = true;
    if (request) {
        call.Int("w0", request->reserved0).Text("address", request->address);
        call.Text("user", request->user).Text("password", request->password);
        call.Text("directory", request->directory).Text("list", request->listName);
        call.Int("w6", request->one).Int("w7", request->reserved7).Int("w8", request->reserved8);
        wellFormed = DescribeBlock(request->attributes, block);
        call.Raw("attributes", block);
    } else {
        call.Raw("request", "null");
    }
    call.Int("word2", word2).Int("word3", word3);
    std::string name;
    if (!call.Admit(ServerOf(server, name))) {
        return call.Result();
    }
    if (!request || !request->listName || std::strcmp(request->listName, "sftp_validate") != 0 ||
        request->one != 1) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (!request->address || !request->user || !request->password || !request->directory) {
        return call.Return(QUORVEL_PARAMETER_MAY_NOT_BE_NULL);
    }
    if (!wellFormed) {
        return call.Return(QUORVEL_MALFORMED_ATTRIBUTES);
    }
    Pairs answers;
    if (const int failed =
            ReadCallFixture(call, ServerFile(name, "ftp_validate.txt"), answers,
                            QUORVEL_FUNCTION_NOT_AVAILABLE, QUORVEL_GENERAL_FAILURE)) {
        return call.Return(failed);
    }
    const std::string* answer = FindValue(answers, request->address);
    if (!answer) {
        answer = FindValue(answers, "*");
    }
    if (!answer) {
        return call.Return(QUORVEL_HOST_UNREACHABLE);
    }
    int result = 0;
    if (!ParseInt(*answer, result)) {
        call.Note("ftp_validate.txt: answer for " + Quote(request->address) + " is not a code");
        return call.Return(QUORVEL_GENERAL_FAILURE);
    }
    return call.Return(result);
}

// Filled by name: several calls share one signature, so an order slip would still compile.
OrvexSimZylCalls MakeCalls() {
    OrvexSimZylCalls calls = {};
    calls.ADDRESS_sGetAddrBook = SimAddressGetAddrBook;
    calls.ADDRESS_sFreeAddrBook = FreeAddrBook;
    calls.ADDRESS_OpenBookEx = SimAddressOpenBookEx;
    calls.ADDRESS_ReadBookEntriesEx = SimAddressReadBookEntriesEx;
    calls.ADDRESS_FreeBookEntriesEx = FreeBookEntriesEx;
    calls.ADDRESS_CloseBookEx = CloseBookEx;
    calls.SFTP_Validate = Validate;
    return calls;
}

} // namespace

extern "C" const OrvexSimZylCalls* __cdecl OrvexSimInternal_ZylCalls(void) {
    static const OrvexSimZylCalls calls = MakeCalls();
    return &calls;
}
