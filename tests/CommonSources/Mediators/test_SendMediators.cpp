// The send mediators against a real Scanner on the simulated servers: the destinations chosen
// in the Send window as numbered destinations of the job, for a stored job and for a job still
// to be scanned, the FTP settings, the sender and encodings, and what the server is asked.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EmailMsg.h"
#include "ExportedAttributes.h"
#include "FTPDestinationInfo.h"
#include "OrvexSimControl.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"
#include "Scanner.h"
#include "ScriptedSendClient.h"
#include "SendMediatorExisting.h"
#include "SendMediatorInitiater.h"
#include "SimulatedServerSession.h"
#include "zylImageFile.h"

namespace {

EmailMsg Message(const std::string& to, const std::string& subject) {
    EmailMsg message;
    message.AddTo(to);
    message.SetSubject(subject);
    message.SetBody("Hello");
    return message;
}

// The answers every case starts from: a file name, a page selection, formats, one recipient
// each, and an anonymous FTP destination; nothing chosen.
SendAnswers Choices() {
    SendAnswers answers;
    answers.fileName = "scan";
    answers.pages = "1-2";
    answers.mailboxName = "007";
    answers.emailFileFormat = "PDF";
    answers.ftpFileFormat = "JPEG";
    answers.emailMessage = Message("ann@example.com", "Report");
    answers.internetFaxMessage = Message("fax@example.com", "Fax");
    answers.ftpDestination.SetServer("ftp.example.com");
    return answers;
}

ScanAttributeMap Merged(ScanAttributeMap first, const ScanAttributeMap& second) {
    for (const auto& pair : second) {
        first[pair.first] = pair.second;
    }
    return first;
}

class SendMediatorTest : public ::testing::Test {
protected:
    void SetUp() override { OrvexSim_Reset(); }
    void TearDown() override {
        m_session.reset();
        EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "blocks left on the library heap";
        EXPECT_EQ(0, OrvexSim_BadFrees());
        OrvexSim_Reset();
    }

    Scanner& OpenOn(const std::string& server, const std::string& user = "",
                    const std::string& password = "") {
        m_session.reset();
        m_session = std::make_unique<SimulatedServerSession>(server, user, password);
        EXPECT_TRUE(m_session->GetScanner()->IsConnected()) << server;
        return *m_session->GetScanner();
    }

    // The job's attributes after a send with these answers, over the pairs held before.
    template <class Mediator>
    ScanAttributeMap SendWith(const SendAnswers& answers, const ScanAttributeMap& before = {}) {
        ScanAttributeWrapper job(m_session->Wrapper(), nullptr);
        for (const auto& pair : before) {
            job.SetAttribute(pair.first, pair.second);
        }
        ScriptedSendClient window(answers);
        Mediator mediator(&job, m_session->GetScanner(), nullptr);
        mediator.SetClient(&window);
        mediator.Send();
        return ExportedAttributes(job);
    }

    // The keys of an e-mail or internet-fax message, as the attribute table writes them.
    ScanAttributeMap MessageKeys(const EmailMsg& message, bool fax) {
        ScanAttributeWrapper keys(m_session->Wrapper(), nullptr);
        if (fax) {
            keys.SetEmFaxMessage(message);
        } else {
            keys.SetEmailMessage(message);
        }
        return ExportedAttributes(keys);
    }

    std::unique_ptr<SimulatedServerSession> m_session;
};

TEST_F(SendMediatorTest, DestinationsAreNumberedInStepOrder) {
    OpenOn("localhost");
    const SendAnswers base = Choices();
    const ScanAttributeMap email =
        Merged(MessageKeys(base.emailMessage, false),
               {{"MAIL_ENCODING", "ISO8859-1"}, {"MAIL_FORCE_URL", "NO"}});
    const ScanAttributeMap fax =
        Merged(MessageKeys(base.internetFaxMessage, true), {{"EMFAX_ENCODING", "ISO8859-1"}});
    const ScanAttributeMap anonymousFtp = {
        {"FTP_SERVER", "ftp.example.com"}, {"FTP_PORT", "21"}, {"FTP_TIMEOUT", "30"}};

    struct SendCase {
        const char* name;
        std::function<void(SendAnswers&)> choose;
        ScanAttributeMap before;
        // The whole table afterwards.
        ScanAttributeMap existing;
        ScanAttributeMap initiater;
    };
    const std::vector<SendCase> cases = {
        {"nothing chosen: not even the file name",
         [](SendAnswers&) {},
         {{"N_DEST", "1"}, {"DEST:1", "CALLER"}},
         {{"N_DEST", "1"}, {"DEST:1", "CALLER"}},
         {{"N_DEST", "1"}, {"DEST:1", "CALLER"}}},
        {"hold queue and FTP",
         [](SendAnswers& a) {
             a.holdQueue = true;
             a.ftp = true;
         },
         {},
         Merged(anonymousFtp, {{"FILENAME", "scan"},
                               {"N_DEST", "2"},
                               {"DEST:1", "HOLDQ"},
                               {"DEST_PAGE:1", "1-2"},
                               {"DEST:2", "FTP"},
                               {"DEST_FORMAT:2", "JPEG"},
                               {"DEST_PAGE:2", "1-2"}}),
         Merged(anonymousFtp, {{"FILENAME", "scan"},
                               {"N_DEST", "2"},
                               {"DEST:1", "HOLDQ"},
                               {"DEST:2", "FTP"},
                               {"DEST_FORMAT:2", "JPEG"}})},
        {"numbering goes on from the destinations the job holds; no file name, none written",
         [](SendAnswers& a) {
             a.fileName.clear();
             a.email = true;
         },
         {{"N_DEST", "2"}, {"DEST:1", "HOLDQ"}, {"DEST:2", "MAILBOX"}},
         Merged(email, {{"N_DEST", "3"},
                        {"DEST:1", "HOLDQ"},
                        {"DEST:2", "MAILBOX"},
                        {"DEST:3", "EMAIL"},
                        {"DEST_FORMAT:3", "PDF"},
                        {"DEST_PAGE:3", "1-2"}}),
         Merged(email, {{"N_DEST", "3"},
                        {"DEST:1", "HOLDQ"},
                        {"DEST:2", "MAILBOX"},
                        {"DEST:3", "EMAIL"},
                        {"DEST_FORMAT:3", "PDF"}})},
        {"internet fax is TIFF whatever the e-mail format; a link when asked",
         [](SendAnswers& a) {
             a.email = true;
             a.internetFax = true;
             a.sendAsUrl = true;
         },
         {},
         Merged(Merged(email, fax), {{"MAIL_FORCE_URL", "YES"},
                                     {"FILENAME", "scan"},
                                     {"N_DEST", "2"},
                                     {"DEST:1", "EMAIL"},
                                     {"DEST_FORMAT:1", "PDF"},
                                     {"DEST_PAGE:1", "1-2"},
                                     {"DEST:2", "EMFAX"},
                                     {"DEST_FORMAT:2", "TIFF"},
                                     {"DEST_PAGE:2", "1-2"}}),
         Merged(Merged(email, fax), {{"MAIL_FORCE_URL", "YES"},
                                     {"FILENAME", "scan"},
                                     {"N_DEST", "2"},
                                     {"DEST:1", "EMAIL"},
                                     {"DEST_FORMAT:1", "PDF"},
                                     {"DEST:2", "EMFAX"},
                                     {"DEST_FORMAT:2", "TIFF"}})},
        {"save to disk: an empty mailbox for a new scan, nothing for a stored job",
         [](SendAnswers& a) { a.saveToDisk = true; },
         {},
         {{"FILENAME", "scan"}},
         {{"FILENAME", "scan"}, {"N_DEST", "1"}, {"DEST:1", "MAILBOX"}, {"MAILBOX", ""}}},
        {"mailbox and save to disk: only the mailbox",
         [](SendAnswers& a) {
             a.mailbox = true;
             a.saveToDisk = true;
         },
         {},
         {{"FILENAME", "scan"}},
         {{"FILENAME", "scan"}, {"N_DEST", "1"}, {"DEST:1", "MAILBOX"}, {"MAILBOX", "007"}}},
        {"every destination",
         [](SendAnswers& a) {
             a.holdQueue = true;
             a.mailbox = true;
             a.email = true;
             a.ftp = true;
             a.internetFax = true;
         },
         {},
         Merged(Merged(Merged(email, fax), anonymousFtp), {{"FILENAME", "scan"},
                                                           {"N_DEST", "4"},
                                                           {"DEST:1", "HOLDQ"},
                                                           {"DEST_PAGE:1", "1-2"},
                                                           {"DEST:2", "EMAIL"},
                                                           {"DEST_FORMAT:2", "PDF"},
                                                           {"DEST_PAGE:2", "1-2"},
                                                           {"DEST:3", "FTP"},
                                                           {"DEST_FORMAT:3", "JPEG"},
                                                           {"DEST_PAGE:3", "1-2"},
                                                           {"DEST:4", "EMFAX"},
                                                           {"DEST_FORMAT:4", "TIFF"},
                                                           {"DEST_PAGE:4", "1-2"}}),
         Merged(Merged(Merged(email, fax), anonymousFtp), {{"FILENAME", "scan"},
                                                           {"N_DEST", "5"},
                                                           {"DEST:1", "HOLDQ"},
                                                           {"DEST:2", "MAILBOX"},
                                                           {"MAILBOX", "007"},
                                                           {"DEST:3", "EMAIL"},
                                                           {"DEST_FORMAT:3", "PDF"},
                                                           {"DEST:4", "FTP"},
                                                           {"DEST_FORMAT:4", "JPEG"},
                                                           {"DEST:5", "EMFAX"},
                                                           {"DEST_FORMAT:5", "TIFF"}})},
    };
    for (const SendCase& c : cases) {
        SendAnswers answers = base;
        c.choose(answers);
        EXPECT_EQ(c.existing, SendWith<SendMediatorExisting>(answers, c.before))
            << "stored job: " << c.name;
        EXPECT_EQ(c.initiater, SendWith<SendMediatorInitiater>(answers, c.before))
            << "new scan: " << c.name;
    }
}

TEST_F(SendMediatorTest, FtpLoginAndProxy) {
    OpenOn("localhost");
    struct FtpCase {
        const char* name;
        std::function<void(FTPDestinationInfo&)> enter;
        // The FTP_ and PFTP_ keys beside FTP_SERVER.
        ScanAttributeMap keys;
    };
    const std::vector<FtpCase> cases = {
        {"anonymous: no user and no password",
         [](FTPDestinationInfo& f) { f.SetPassword("guest@example.com"); },
         {{"FTP_PORT", "21"}, {"FTP_TIMEOUT", "30"}}},
        {"a user with a password, a directory, port and time-out",
         [](FTPDestinationInfo& f) {
             f.SetUserName("scanner");
             f.SetPassword("s3cret");
             f.SetPath("/in");
             f.SetPort("2121");
             f.SetTimeout("90");
         },
         {{"FTP_USER", "scanner"},
          {"FTP_PASSWORD", "s3cret"},
          {"FTP_REMOTE_DIR", "/in"},
          {"FTP_PORT", "2121"},
          {"FTP_TIMEOUT", "90"}}},
        {"a user's empty password is written; an empty time-out is not",
         [](FTPDestinationInfo& f) {
             f.SetUserName("Anonymous");
             f.SetTimeout("");
         },
         {{"FTP_USER", "Anonymous"}, {"FTP_PASSWORD", ""}, {"FTP_PORT", "21"}}},
        {"proxy with its login",
         [](FTPDestinationInfo& f) {
             f.SetProxyEnabled(true);
             f.SetProxyAddress("proxy.example.com");
             f.SetProxyPort("8021");
             f.SetProxyUserName("pu");
             f.SetProxyPassword("pp");
         },
         {{"FTP_PORT", "21"},
          {"FTP_TIMEOUT", "30"},
          {"PFTP_SERVER", "proxy.example.com"},
          {"PFTP_PORT", "8021"},
          {"PFTP_USER", "pu"},
          {"PFTP_PASSWORD", "pp"}}},
        {"proxy without a login",
         [](FTPDestinationInfo& f) {
             f.SetProxyEnabled(true);
             f.SetProxyAddress("proxy.example.com");
             f.SetProxyPassword("pp");
         },
         {{"FTP_PORT", "21"},
          {"FTP_TIMEOUT", "30"},
          {"PFTP_SERVER", "proxy.example.com"},
          {"PFTP_PORT", "21"}}},
        {"proxy on without an address: no proxy keys at all",
         [](FTPDestinationInfo& f) {
             f.SetProxyEnabled(true);
             f.SetProxyPort("8021");
             f.SetProxyUserName("pu");
             f.SetProxyPassword("pp");
         },
         {{"FTP_PORT", "21"}, {"FTP_TIMEOUT", "30"}}},
        {"proxy off: its fields are not sent",
         [](FTPDestinationInfo& f) {
             f.SetProxyAddress("proxy.example.com");
             f.SetProxyUserName("pu");
         },
         {{"FTP_PORT", "21"}, {"FTP_TIMEOUT", "30"}}},
    };
    for (const FtpCase& c : cases) {
        SendAnswers answers = Choices();
        answers.ftp = true;
        c.enter(answers.ftpDestination);
        const ScanAttributeMap expected = Merged(c.keys, {{"FILENAME", "scan"},
                                                          {"N_DEST", "1"},
                                                          {"DEST:1", "FTP"},
                                                          {"DEST_FORMAT:1", "JPEG"},
                                                          {"FTP_SERVER", "ftp.example.com"}});
        EXPECT_EQ(expected, SendWith<SendMediatorInitiater>(answers)) << c.name;
    }

    // The server's name is written even when it is empty.
    SendAnswers answers = Choices();
    answers.ftp = true;
    answers.ftpDestination.SetServer("");
    EXPECT_EQ("", SendWith<SendMediatorExisting>(answers).at("FTP_SERVER"));
}

TEST_F(SendMediatorTest, MessagesAreShiftJisUnderTheJapaneseInterface) {
    OpenOn("localhost");
    ResourceLoader* const loader = ResourceLoader::Instance();
    const int saved = loader->GetLanguageIndex();
    SendAnswers answers = Choices();
    answers.email = true;
    answers.internetFax = true;
    for (const int language : {1, 0, 4}) {
        loader->SetLanguageIndex(language);
        const std::string expected = language == 1 ? "SJIS" : "ISO8859-1";
        for (const ScanAttributeMap& sent :
             {SendWith<SendMediatorExisting>(answers), SendWith<SendMediatorInitiater>(answers)}) {
            EXPECT_EQ(expected, sent.at("MAIL_ENCODING")) << "language " << language;
            EXPECT_EQ(expected, sent.at("EMFAX_ENCODING")) << "language " << language;
        }
    }
    loader->SetLanguageIndex(saved);
}

TEST_F(SendMediatorTest, TheSenderIsTheLoggedInUserWhereTheServerAsksForOne) {
    OpenOn("localhost");
    SendAnswers answers = Choices();
    answers.email = true;
    answers.internetFax = true;
    EXPECT_EQ(0u, SendWith<SendMediatorInitiater>(answers).count("MAIL_FROM"))
        << "the default server wants no sender";

    OpenOn("login", "alice", "wonder");
    for (const ScanAttributeMap& sent :
         {SendWith<SendMediatorExisting>(answers), SendWith<SendMediatorInitiater>(answers)}) {
        EXPECT_EQ("alice@example.com", sent.at("MAIL_FROM"));
        EXPECT_EQ("Alice Liddell", sent.at("MAIL_FROM_D"));
        EXPECT_EQ(0u, sent.count("EMFAX_FROM")) << "the fax has no sender";
    }

    // The mailbox of a new scan is the server's id for a domain user.
    answers.email = false;
    answers.internetFax = false;
    answers.mailbox = true;
    answers.mailboxName = "CORP\\alice";
    EXPECT_EQ("S-1-5-21-7-1001", SendWith<SendMediatorInitiater>(answers).at("MAILBOX"));
}

TEST_F(SendMediatorTest, AStoredJobReachesTheServerWithEveryDestination) {
    Scanner& scanner = OpenOn("localhost");
    ScanAttributeWrapper job(m_session->Wrapper(), nullptr);
    SendAnswers answers = Choices();
    answers.pages = "2";
    answers.holdQueue = true;
    answers.email = true;
    answers.ftp = true;
    answers.internetFax = true;
    ScriptedSendClient window(answers);
    SendMediatorExisting mediator(&job, &scanner, nullptr);
    mediator.SetClient(&window);

    // A list exported before the send goes; the attributes stay.
    const int blocks = OrvexSim_HeapBlocks();
    job.SetAttribute("COLOR_MODE", "COLOR");
    job.GetServerList();
    EXPECT_LT(blocks, OrvexSim_HeapBlocks());
    mediator.Send();
    EXPECT_EQ(blocks, OrvexSim_HeapBlocks());
    EXPECT_EQ("COLOR", job.GetAttribute("COLOR_MODE"));

    OrvexSim_ClearLog();
    EXPECT_EQ(QUORVEL_OK, scanner.DoSend(101, job.GetServerList()));
    const std::string sent = LogLinesOf("SCAN_getDataEx").at(0);
    EXPECT_NE(std::string::npos,
              sent.find("[sent 1 \"HOLDQ\" format=\"\" page=\"2\"; 2 \"EMAIL\" format=\"PDF\" "
                        "page=\"2\"; 3 \"FTP\" format=\"JPEG\" page=\"2\"; 4 \"EMFAX\" "
                        "format=\"TIFF\" page=\"2\"]"))
        << sent;
}

TEST_F(SendMediatorTest, WithoutAWindowNothingIsWritten) {
    OpenOn("localhost");
    ScanAttributeWrapper job(m_session->Wrapper(), nullptr);
    SendMediatorInitiater mediator(&job, m_session->GetScanner(), nullptr);
    mediator.Send();
    mediator.ApplyFtpSettings();
    mediator.ApplyMailboxDestination();
    EXPECT_TRUE(ExportedAttributes(job).empty());
}

TEST_F(SendMediatorTest, QuestionsAboutTheServer) {
    struct Expectation {
        const char* server;
        bool email;
        bool allowUrls;
        bool ftp;
        bool holdQueue;
        bool internetFax;
        bool mailboxNames;
        int32_t formats;
        int32_t currentFormat;
        const char* currentFormatName;
        int32_t defaultFormat;
        bool mailFrom;
    };
    const Expectation servers[] = {
        {"localhost", true, true, true, true, true, true, 3, 0, "PDF", 0, false},
        {"caps-bare", true, true, false, true, false, false, 0, 0, "", 0, false},
        {"mediators", false, false, true, false, true, true, 3, 2, "JPEG", 1, false},
        {"login", true, true, false, true, false, false, 0, 0, "", 0, true},
    };
    for (const Expectation& e : servers) {
        Scanner& scanner = e.server == std::string("login") ? OpenOn("login", "alice", "wonder")
                                                            : OpenOn(e.server);
        ScanAttributeWrapper job(m_session->Wrapper(), nullptr);
        SendMediatorInitiater mediator(&job, &scanner, nullptr);
        EXPECT_EQ(e.email, mediator.IsEmailSupported()) << e.server;
        EXPECT_EQ(e.allowUrls, mediator.IsMailAllowUrls()) << e.server;
        EXPECT_EQ(e.ftp, mediator.IsFtpSupported()) << e.server;
        EXPECT_EQ(e.holdQueue, mediator.IsHoldQueueSupported()) << e.server;
        EXPECT_EQ(e.internetFax, mediator.IsInternetFaxSupported()) << e.server;
        EXPECT_EQ(e.mailboxNames, mediator.IsMailboxNameSupported()) << e.server;
        EXPECT_EQ(e.formats, mediator.GetFileFormatCount()) << e.server;
        EXPECT_EQ(e.currentFormat, mediator.GetFileFormatAt()) << e.server;
        if (e.formats > 0) {
            EXPECT_EQ(e.currentFormatName, mediator.GetFileFormatName(e.currentFormat)) << e.server;
        }
        EXPECT_EQ(e.defaultFormat, mediator.GetDefaultFileFormat()) << e.server;
        EXPECT_EQ(e.mailFrom, mediator.GetMailFromMode()) << e.server;
        EXPECT_EQ(&job, mediator.GetJobAttributes());
        EXPECT_EQ(&scanner, mediator.GetScanner());
    }
}

TEST_F(SendMediatorTest, TheCurrentImageNameAndFormat) {
    Scanner& scanner = OpenOn("localhost");
    ScanAttributeWrapper job(m_session->Wrapper(), nullptr);
    SendMediatorExisting mediator(&job, &scanner, nullptr);
    scanner.RefreshJobs();
    EXPECT_EQ("", mediator.GetCurrentImageName()) << "no current image";
    EXPECT_EQ("", mediator.GetCurrentImageInfo());
    scanner.SetCurrentImageFileFromJobID(101);
    ASSERT_NE(nullptr, scanner.GetCurrentImageFile());
    EXPECT_EQ("Colour report", mediator.GetCurrentImageName());
    EXPECT_EQ("JPEG", mediator.GetCurrentImageInfo());
}

} // namespace
