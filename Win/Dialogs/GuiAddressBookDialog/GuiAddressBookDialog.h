#pragma once
// Picks the recipients of an e-mail or internet-fax message from the server's address book
// or the corporate directory, into three recipient fields (To, Cc, Bcc) that show one
// recipient per line. A modeless child of the message editor over a copy of its message: OK
// (result 1) writes the fields into the copy, which the editor then takes.

#include "EditCtrl.h"
#include "EmailMsg.h"
#include "GuiWindowsDialog.h"
#include "ListCtrl.h"
#include "PopupButton.h"

#include <cstdint>
#include <string>

class QuorvelWrapperIntf;

class GuiAddressBookDialog : public GuiWindowsDialog {
public:
    // Book kinds, the item data of the book choice.
    static constexpr int kServerBook = 1;
    static constexpr int kDirectory = 16;

    // mode: 1 e-mail, 2 internet fax. The wrapper is not owned.
    GuiAddressBookDialog(GuiWindowsDialog* owner, QuorvelWrapperIntf* wrapper,
                         const EmailMsg& message, int32_t mode);
    ~GuiAddressBookDialog() override;

    void Close() override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    void PaintBanner(HDC dc) override;

    virtual void OnListCommand(int notifyCode);
    virtual void InitControls();
    virtual void FillBookChoices();
    virtual void SetupListColumns();
    virtual void Search();
    virtual void BuildResultLists();
    virtual void MoveSelectionToRecipients(int fieldId);
    virtual void OnToButton();
    virtual void OnCcButton();
    virtual void OnBccButton();
    virtual void OnBookChanged();
    virtual void OnSearchTextChanged();
    virtual void StartSearch();
    virtual void ResetSearch();

    // The message copy: after OK it holds the three fields.
    const EmailMsg& GetMessage() const { return m_message; }

    // A server book entry '"name" <address>' as the list shows it: the name without its
    // quotation marks, the address with its angle brackets. An entry without " <" is an
    // address as a whole (bracketed when it is not already).
    static void SplitBookEntry(const std::string& entry, std::string& name, std::string& address);

private:
    // Asked anew each time: whether the server offers the corporate directory.
    bool IsDirectoryServer() const;
    void AppendRow(const std::string& name, const std::string& address);

    ListCtrl m_list;
    PopupButton m_books;
    EditCtrl m_searchField;
    EmailMsg m_message;
    QuorvelWrapperIntf* m_wrapper;
    int32_t m_mode;
    int32_t m_lastBook = -1;
    std::string m_searchText;
};
