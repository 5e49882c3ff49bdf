#include "TransferStates.h"

#include "AbstractSource.h"
#include "TwainException.h"

TransferStates::Transfer::Transfer(AbstractSource& source, TW_UINT16 mechanism, const char* file,
                                   int line)
    : m_source(source), m_entryState(source.GetState()),
      m_entryWithinPage(m_entryState == 7 && source.IsMemoryTransferActive()) {
    // A second transfer of a page before MSG_ENDXFER, or one before MSG_XFERREADY; only the
    // memory transfer comes back in state 7, for the next strip of its page.
    const bool accepted = m_entryState == 6 || (mechanism == TWSX_MEMORY && m_entryWithinPage);
    if (!accepted || source.GetPendingTransferCount() == 0) {
        throw TwainException(file, line, TWCC_SEQERROR);
    }
    source.SetState(7);
    source.SetMemoryTransferActive(mechanism == TWSX_MEMORY);
}

TransferStates::Transfer::~Transfer() {
    if (!m_answered) {
        m_source.SetState(m_entryState);
        m_source.SetMemoryTransferActive(m_entryWithinPage);
    }
}

void TransferStates::Transfer::Answered(bool pageOver) {
    m_answered = true;
    if (pageOver) {
        m_source.SetMemoryTransferActive(false);
    }
}

bool TransferStates::CheckEndTransfer(AbstractSource& source, const char* file, int line) {
    const TW_UINT16 state = source.GetState();
    if (state != 6 && state != 7) {
        throw TwainException(file, line, TWCC_SEQERROR);
    }
    return state == 6;
}

void TransferStates::EndTransfer(AbstractSource& source, TW_UINT16 pagesLeft) {
    source.SetMemoryTransferActive(false);
    source.SetState(pagesLeft != 0 ? 6 : 5);
}

void TransferStates::CheckReset(AbstractSource& source, const char* file, int line) {
    // Within a page the application ends it first (MSG_ENDXFER).
    if (source.GetState() == 7) {
        throw TwainException(file, line, TWCC_SEQERROR);
    }
}

void TransferStates::Reset(AbstractSource& source) {
    source.SetMemoryTransferActive(false);
    if (source.GetState() > 5) {
        source.SetState(5);
    }
}
