#include "MainEntry.h"

#include "AbstractSource.h"
#include "Exception.h"
#include "ResourceLoader.h"
#include "XGPreferencesIntf.h"

#include <new>

namespace {

// Set by a DG_CONTROL triplet with MSG_OPENDS; the next source made is a full one.
bool g_opening = false;
// The return address of the DS_Entry call under way.
const void* g_caller = nullptr;

int LanguagePreference() {
    AbstractSource* source = AbstractSource::Instance();
    CommonCpp::XGPreferencesIntf* store = source != nullptr ? source->GetPreferences() : nullptr;
    return store != nullptr ? store->GetInt("testl", -1) : -1;
}

// Keeps the caller's address for the length of a call; calls may nest (a window's message loop
// inside a triplet may deliver another).
class CallerScope {
public:
    explicit CallerScope(const void* caller) : m_saved(g_caller) { g_caller = caller; }
    CallerScope(const CallerScope&) = delete;
    CallerScope& operator=(const CallerScope&) = delete;
    ~CallerScope() { g_caller = m_saved; }

private:
    const void* m_saved;
};

// Puts the caller's new-handler back however the call ends.
class NewHandlerScope {
public:
    explicit NewHandlerScope(std::new_handler handler) : m_saved(std::set_new_handler(handler)) {}
    NewHandlerScope(const NewHandlerScope&) = delete;
    NewHandlerScope& operator=(const NewHandlerScope&) = delete;
    ~NewHandlerScope() { std::set_new_handler(m_saved); }

private:
    std::new_handler m_saved;
};

} // namespace

void throwBadAlloc() {
    throw std::bad_alloc();
}

const void* DSEntryCaller() {
    return g_caller;
}

extern "C" TW_UINT16 WINAPI DS_Entry(pTW_IDENTITY pOrigin, TW_UINT32 dg, TW_UINT16 dat,
                                     TW_UINT16 msg, TW_MEMREF pData) {
    TW_UINT16 result = TWRC_FAILURE;
    const CallerScope caller(__builtin_return_address(0));
    const NewHandlerScope newHandler(throwBadAlloc);
    if (dg == DG_CONTROL && msg == MSG_OPENDS) {
        g_opening = true;
    }
    try {
        AbstractSource* source = AbstractSource::Instance();
        if (source == nullptr) {
            source = new AbstractSource(g_opening);
            AbstractSource::SetInstance(source);
            // The language preference lives in the store the new source has just made.
            ResourceLoader::SetLanguagePreferenceSource(LanguagePreference);
            ResourceLoader::Instance()->ChooseLanguage();
        }
        result = source->DSEntry(pOrigin, dg, dat, msg, pData);
        if (source->CanUnload()) {
            AbstractSource::SetInstance(nullptr);
            delete source;
            g_opening = false;
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        result = TWRC_FAILURE;
    } catch (...) {
        // The caller is C: nothing may unwind into it.
        result = TWRC_FAILURE;
    }
    return result;
}
