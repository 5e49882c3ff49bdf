#pragma once
// What the retrieve pane asks of the window that hosts it: which pane governs the window's
// "Send..." and "Acquire" buttons, turning sending off and on, and the mailbox dialog. A host
// that does not implement it is simply not told.

class RetrievePaneOwnerIntf {
public:
    RetrievePaneOwnerIntf() = default;
    RetrievePaneOwnerIntf(const RetrievePaneOwnerIntf&) = delete;
    RetrievePaneOwnerIntf& operator=(const RetrievePaneOwnerIntf&) = delete;
    virtual ~RetrievePaneOwnerIntf() = default;

    // 0: the retrieve pane governs the buttons.
    virtual void SetStateValue(int paneIndex) = 0;
    virtual void DisableSend() = 0;
    virtual void EnableSend() = 0;
    // Asks for a mailbox and its password; on OK the host calls ChangeMailbox on the pane.
    virtual void OpenChangeMailboxDialog() = 0;
};
