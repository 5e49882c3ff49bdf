#include "SimulatedServerSession.h"

#include "QuorvelWrapper.h"
#include "Scanner.h"
#include "ScannerUiIntf.h"

namespace {

// Answers the first log-in prompt with the given account and cancels any later one; runs the
// session's wait action where the wait window would show.
class OneLoginUi : public ScannerUiIntf {
public:
    OneLoginUi(const std::string& user, const std::string& password,
               const std::function<void()>& waitAction)
        : m_user(user), m_password(password), m_waitAction(waitAction) {}

    void ShowWarning(const std::string&) override {
        if (m_waitAction) {
            m_waitAction();
        }
    }

    void ShowLoginDialog(std::string& user, std::string& password, int* result) override {
        *result = m_asked ? 2 : 1;
        if (!m_asked) {
            user = m_user;
            password = m_password;
        }
        m_asked = true;
    }

private:
    std::string m_user;
    std::string m_password;
    const std::function<void()>& m_waitAction;
    bool m_asked = false;
};

} // namespace

SimulatedServerSession::SimulatedServerSession(const std::string& server, const std::string& user,
                                               const std::string& password)
    : m_ui(std::make_unique<OneLoginUi>(user, password, m_waitAction)),
      m_wrapper(QuorvelWrapper::Create()),
      m_scanner(std::make_unique<Scanner>(m_wrapper.get(), m_ui.get(), server, server)) {}

SimulatedServerSession::~SimulatedServerSession() {
    m_scanner.reset();
    m_wrapper.reset();
}
