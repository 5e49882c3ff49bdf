#pragma once
// TWAIN's state table for the image transfers and DAT_PENDINGXFERS, in one place:
//
//   triplet                              accepted in                       state after
//   DAT_IMAGENATIVEXFER, DAT_IMAGEFILEXFER 6 with a page pending           7 until MSG_ENDXFER
//   DAT_IMAGEMEMXFER                     6 with a page pending (its first  7 until MSG_ENDXFER
//                                        strip), 7 between its strips
//   DAT_PENDINGXFERS MSG_ENDXFER         7 (the page is over),             6 with pages left,
//                                        6 (the pending page is dropped)   else 5
//   DAT_PENDINGXFERS MSG_RESET           any but 7                         5 from 6, else kept
//   DAT_PENDINGXFERS MSG_GET             any                               kept
//
// Anything else answers TWCC_SEQERROR. A transfer that fails leaves the state it found.

#include "TwainDefs.h"

class AbstractSource;

class TransferStates {
public:
    // One image transfer call: TWCC_SEQERROR (at file and line) unless the table accepts it now;
    // then the source is in state 7. Unless the call is answered, the state it found comes back.
    class Transfer {
    public:
        Transfer(AbstractSource& source, TW_UINT16 mechanism, const char* file, int line);
        Transfer(const Transfer&) = delete;
        Transfer& operator=(const Transfer&) = delete;
        ~Transfer();

        // The call answered: the source stays in state 7; a memory page whose last strip has
        // not come yet takes its next strip in state 7.
        void Answered(bool pageOver);

    private:
        AbstractSource& m_source;
        TW_UINT16 m_entryState;
        bool m_entryWithinPage;
        bool m_answered = false;
    };

    // MSG_ENDXFER: TWCC_SEQERROR outside states 6 and 7; true in state 6, where the pending page
    // is dropped unread.
    static bool CheckEndTransfer(AbstractSource& source, const char* file, int line);
    // After MSG_ENDXFER: state 6 while pages are left, else 5.
    static void EndTransfer(AbstractSource& source, TW_UINT16 pagesLeft);
    // MSG_RESET: TWCC_SEQERROR within a page (state 7).
    static void CheckReset(AbstractSource& source, const char* file, int line);
    // After MSG_RESET: state 5 from 6, a lower state is kept.
    static void Reset(AbstractSource& source);
};
