#pragma once
// An e-mail or internet-fax message as the editor holds it before it becomes job attributes:
// subject, three recipient lists and the body cut into short lines.

#include "EmailAddressList.h"

#include <cstdint>
#include <string>
#include <vector>

class EmailMsg {
public:
    // Bytes, as the server's message keys take them.
    static constexpr size_t kMaxSubjectLength = 80;
    static constexpr size_t kMaxLineLength = 79;

    EmailMsg();
    EmailMsg(const EmailMsg& other);
    EmailMsg& operator=(const EmailMsg& other);
    virtual ~EmailMsg();

    virtual int32_t GetRecipientCount() const;
    // Keeps the first 80 bytes.
    virtual void SetSubject(const std::string& subject);
    virtual std::string GetSubject() const;

    virtual void ClearTo();
    virtual void AddTo(const std::string& text);
    virtual int32_t GetToCount() const;
    virtual EmailAddress GetTo(int32_t index) const;
    virtual void SetToFromString(const std::string& text);
    virtual std::string GetToString() const;

    virtual void ClearCc();
    virtual void AddCc(const std::string& text);
    virtual int32_t GetCcCount() const;
    virtual EmailAddress GetCc(int32_t index) const;
    virtual void SetCcFromString(const std::string& text);
    virtual std::string GetCcString() const;

    virtual void ClearBcc();
    virtual void AddBcc(const std::string& text);
    virtual int32_t GetBccCount() const;
    virtual EmailAddress GetBcc(int32_t index) const;
    virtual void SetBccFromString(const std::string& text);
    virtual std::string GetBccString() const;

    // Cuts the body into lines of at most 79 bytes; each line feed becomes an empty line of
    // its own, which the server takes as a line break.
    virtual void SetBody(const std::string& body);
    virtual int32_t GetLineCount() const;
    // Throws std::out_of_range for an index outside the body.
    virtual std::string GetLine(int32_t index) const;

    // The text SetBody was given: the empty lines are its line feeds, and the pieces of a long
    // line join again.
    std::string GetBody() const;

private:
    std::string m_subject;
    EmailAddressList m_to;
    EmailAddressList m_cc;
    EmailAddressList m_bcc;
    std::vector<std::string> m_lines;
};
