#include "EmailMsg.h"

#include <stdexcept>

EmailMsg::EmailMsg() = default;

EmailMsg::EmailMsg(const EmailMsg& other) = default;

EmailMsg& EmailMsg::operator=(const EmailMsg& other) = default;

EmailMsg::~EmailMsg() = default;

int32_t EmailMsg::GetRecipientCount() const {
    return m_to.GetCount() + m_cc.GetCount() + m_bcc.GetCount();
}

void EmailMsg::SetSubject(const std::string& subject) {
    m_subject = subject.substr(0, kMaxSubjectLength);
}

std::string EmailMsg::GetSubject() const {
    return m_subject;
}

void EmailMsg::ClearTo() {
    m_to.Clear();
}
void EmailMsg::AddTo(const std::string& text) {
    m_to.Add(text);
}
int32_t EmailMsg::GetToCount() const {
    return m_to.GetCount();
}
EmailAddress EmailMsg::GetTo(int32_t index) const {
    return m_to.GetAt(index);
}
void EmailMsg::SetToFromString(const std::string& text) {
    m_to.SetFromString(text);
}
std::string EmailMsg::GetToString() const {
    return m_to.ToString();
}

void EmailMsg::ClearCc() {
    m_cc.Clear();
}
void EmailMsg::AddCc(const std::string& text) {
    m_cc.Add(text);
}
int32_t EmailMsg::GetCcCount() const {
    return m_cc.GetCount();
}
EmailAddress EmailMsg::GetCc(int32_t index) const {
    return m_cc.GetAt(index);
}
void EmailMsg::SetCcFromString(const std::string& text) {
    m_cc.SetFromString(text);
}
std::string EmailMsg::GetCcString() const {
    return m_cc.ToString();
}

void EmailMsg::ClearBcc() {
    m_bcc.Clear();
}
void EmailMsg::AddBcc(const std::string& text) {
    m_bcc.Add(text);
}
int32_t EmailMsg::GetBccCount() const {
    return m_bcc.GetCount();
}
EmailAddress EmailMsg::GetBcc(int32_t index) const {
    return m_bcc.GetAt(index);
}
void EmailMsg::SetBccFromString(const std::string& text) {
    m_bcc.SetFromString(text);
}
std::string EmailMsg::GetBccString() const {
    return m_bcc.ToString();
}

void EmailMsg::SetBody(const std::string& body) {
    m_lines.clear();
    std::string current;
    for (const char c : body) {
        if (c == '\n') {
            if (!current.empty()) {
                m_lines.push_back(current);
            }
            m_lines.emplace_back();
            current.clear();
        } else if (current.size() == kMaxLineLength) {
            m_lines.push_back(current);
            current.assign(1, c);
        } else {
            current += c;
        }
    }
    m_lines.push_back(current);
}

int32_t EmailMsg::GetLineCount() const {
    return static_cast<int32_t>(m_lines.size());
}

std::string EmailMsg::GetBody() const {
    std::string body;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        // The last line is the text after the last line feed, empty or not.
        body += m_lines[i].empty() && i + 1 < m_lines.size() ? std::string("\n") : m_lines[i];
    }
    return body;
}

std::string EmailMsg::GetLine(int32_t index) const {
    if (index < 0 || index >= GetLineCount()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    return m_lines[static_cast<size_t>(index)];
}
