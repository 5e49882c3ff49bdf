// Classes of the data source that need neither the registry nor a source object.

#include "AbstractDataArg.h"
#include "DataArg_Identity.h"
#include "DataArg_Status.h"
#include "DataArg_UserInterface.h"
#include "TwainException.h"
#include "StringTable_rc.h"
#include "TwainValueNames.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

TEST(TwainValueNames, NamesTheCodesTheServerExchanges) {
    const char* const pixelTypes[] = {"BW",   "GRAY", "RGB",  "PALETTE", "CMY",
                                      "CMYK", "YUV",  "YUVK", "CIEXYZ"};
    for (int code = 0; code < 9; ++code) {
        EXPECT_EQ(pixelTypes[code], pixelTypeToString(code));
    }
    EXPECT_EQ("NONE", compressionToString(0));
    EXPECT_EQ("GROUP4", compressionToString(5));
    EXPECT_EQ("JPEG", compressionToString(6));
    EXPECT_EQ("BITFIELDS", compressionToString(12));
    EXPECT_EQ("RAW", fileFormatToString(-1));
    EXPECT_EQ("TIFF", fileFormatToString(0));
    EXPECT_EQ("BMP", fileFormatToString(2));
    EXPECT_EQ("TIFFMULTI", fileFormatToString(6));
    EXPECT_EQ("EXIF", fileFormatToString(9));
}

TEST(TwainValueNames, UnknownCodesGiveEmptyText) {
    for (int code : {-1, 9, INT_MIN, INT_MAX}) {
        EXPECT_EQ("", pixelTypeToString(code)) << code;
    }
    for (int code : {-1, 13, INT_MIN, INT_MAX}) {
        EXPECT_EQ("", compressionToString(code)) << code;
    }
    for (int code : {-2, 10, INT_MIN, INT_MAX}) {
        EXPECT_EQ("", fileFormatToString(code)) << code;
    }
}

namespace {

// Records which operation each message reached.
class RecordingDataArg : public AbstractDataArg {
public:
    std::string last;

#define RECORD(name)                                                                               \
    TW_UINT16 name(pTW_IDENTITY, TW_MEMREF) override {                                             \
        last = #name;                                                                              \
        return TWRC_SUCCESS;                                                                       \
    }
    RECORD(MsgChangeDirectory)
    RECORD(MsgCloseDS)
    RECORD(MsgCloseDSM)
    RECORD(MsgCloseDSOK)
    RECORD(MsgCloseDSReq)
    RECORD(MsgCreateDirectory)
    RECORD(MsgDelete)
    RECORD(MsgDeviceEvent)
    RECORD(MsgDisableDS)
    RECORD(MsgEnableDS)
    RECORD(MsgEnableDSUIOnly)
    RECORD(MsgEndXfer)
    RECORD(MsgFormatMedia)
    RECORD(MsgGet)
    RECORD(MsgGetDefault)
    RECORD(MsgGetClose)
    RECORD(MsgGetCurrent)
    RECORD(MsgGetFirst)
    RECORD(MsgGetFirstFile)
    RECORD(MsgGetInfo)
    RECORD(MsgGetNext)
    RECORD(MsgGetNextFile)
    RECORD(MsgNull)
    RECORD(MsgOpenDS)
    RECORD(MsgOpenDSM)
    RECORD(MsgPassThru)
    RECORD(MsgProcessEvent)
    RECORD(MsgQuerySupport)
    RECORD(MsgRename)
    RECORD(MsgReset)
    RECORD(MsgSet)
    RECORD(MsgXferReady)
#undef RECORD
    TW_UINT16 OnUnknownMessage(pTW_IDENTITY, TW_UINT16 msg, TW_MEMREF) override {
        last = "OnUnknownMessage " + std::to_string(msg);
        return TWRC_SUCCESS;
    }
};

} // namespace

TEST(AbstractDataArg, EachMessageReachesItsOwnOperation) {
    const struct {
        TW_UINT16 msg;
        const char* operation;
    } table[] = {
        {MSG_NULL, "MsgNull"},
        {MSG_GET, "MsgGet"},
        {MSG_GETCURRENT, "MsgGetCurrent"},
        {MSG_GETDEFAULT, "MsgGetDefault"},
        {MSG_GETFIRST, "MsgGetFirst"},
        {MSG_GETNEXT, "MsgGetNext"},
        {MSG_SET, "MsgSet"},
        {MSG_RESET, "MsgReset"},
        {MSG_QUERYSUPPORT, "MsgQuerySupport"},
        {MSG_XFERREADY, "MsgXferReady"},
        {MSG_CLOSEDSREQ, "MsgCloseDSReq"},
        {MSG_CLOSEDSOK, "MsgCloseDSOK"},
        {MSG_DEVICEEVENT, "MsgDeviceEvent"},
        {MSG_OPENDSM, "MsgOpenDSM"},
        {MSG_CLOSEDSM, "MsgCloseDSM"},
        {MSG_OPENDS, "MsgOpenDS"},
        {MSG_CLOSEDS, "MsgCloseDS"},
        {MSG_DISABLEDS, "MsgDisableDS"},
        {MSG_ENABLEDS, "MsgEnableDS"},
        {MSG_ENABLEDSUIONLY, "MsgEnableDSUIOnly"},
        {MSG_PROCESSEVENT, "MsgProcessEvent"},
        {MSG_ENDXFER, "MsgEndXfer"},
        {MSG_CHANGEDIRECTORY, "MsgChangeDirectory"},
        {MSG_CREATEDIRECTORY, "MsgCreateDirectory"},
        {MSG_DELETE, "MsgDelete"},
        {MSG_FORMATMEDIA, "MsgFormatMedia"},
        {MSG_GETCLOSE, "MsgGetClose"},
        {MSG_GETFIRSTFILE, "MsgGetFirstFile"},
        {MSG_GETINFO, "MsgGetInfo"},
        {MSG_GETNEXTFILE, "MsgGetNextFile"},
        {MSG_RENAME, "MsgRename"},
        {MSG_PASSTHRU, "MsgPassThru"},
        {MSG_COPY, "OnUnknownMessage 2058"},
        {MSG_CHECKSTATUS, "OnUnknownMessage 513"},
    };
    RecordingDataArg handler;
    for (const auto& row : table) {
        handler.last.clear();
        EXPECT_EQ(TWRC_SUCCESS, handler.Dispatch(nullptr, row.msg, nullptr));
        EXPECT_EQ(row.operation, handler.last) << "message " << row.msg;
    }
    // Only the low 16 bits of the message count.
    handler.Dispatch(nullptr, 0x10000u | MSG_SET, nullptr);
    EXPECT_EQ("MsgSet", handler.last);
}

TEST(AbstractDataArg, EveryDefaultOperationFails) {
    AbstractDataArg handler;
    for (TW_UINT32 msg : {0x0000u, 0x0001u, 0x0006u, 0x0101u, 0x0401u, 0x0502u, 0x0601u, 0x0701u,
                          0x0809u, 0x0901u, 0x7777u}) {
        EXPECT_EQ(TWRC_FAILURE, handler.Dispatch(nullptr, msg, nullptr)) << msg;
    }
    EXPECT_FALSE(handler.IsDat(DAT_IDENTITY));
}

TEST(DataArg_Status, ReadingTheCodeResetsIt) {
    DataArg_Status status;
    TW_STATUS answer = {0xffff, 0xffff};
    EXPECT_EQ(TWRC_SUCCESS, status.Dispatch(nullptr, MSG_GET, &answer));
    EXPECT_EQ(0, answer.ConditionCode);
    EXPECT_EQ(0, answer.Reserved);

    status.SetConditionCode(TWCC_SEQERROR);
    EXPECT_EQ(TWRC_SUCCESS, status.Dispatch(nullptr, MSG_GET, &answer));
    EXPECT_EQ(TWCC_SEQERROR, answer.ConditionCode);
    EXPECT_EQ(TWRC_SUCCESS, status.Dispatch(nullptr, MSG_GET, &answer));
    EXPECT_EQ(TWCC_SUCCESS, answer.ConditionCode);

    try {
        status.Dispatch(nullptr, MSG_GET, nullptr);
        FAIL() << "a null TW_STATUS must fail";
    } catch (const TwainException& e) {
        EXPECT_EQ(TWCC_BADVALUE, e.GetConditionCode());
        EXPECT_EQ(TWRC_FAILURE, e.GetReturnCode());
        EXPECT_STREQ("Twain Exception", e.what());
    }
    EXPECT_EQ(TWRC_FAILURE, status.Dispatch(nullptr, MSG_SET, &answer));
}

TEST(DataArg_Identity, GetAnswersTheTemplateAndKeepsTheCallersId) {
    DataArg_Identity identity;
    TW_IDENTITY answer;
    std::memset(&answer, 0xcc, sizeof(answer));
    answer.Id = 77;
    ASSERT_EQ(TWRC_SUCCESS, identity.Dispatch(nullptr, MSG_GET, &answer));
    EXPECT_EQ(77u, answer.Id);
    EXPECT_EQ(1, answer.ProtocolMajor);
    EXPECT_EQ(8, answer.ProtocolMinor);
    EXPECT_EQ(DG_CONTROL | DG_IMAGE, answer.SupportedGroups);
    EXPECT_STREQ("Halcyra, Inc.", answer.Manufacturer);
    EXPECT_STREQ("Orvex", answer.ProductFamily);
    EXPECT_STREQ("Nimbrel 5", answer.ProductName);
    EXPECT_EQ(5, answer.Version.MajorNum);
    EXPECT_EQ(5, answer.Version.MinorNum);
    EXPECT_LT(std::strlen(answer.Version.Info), sizeof(answer.Version.Info));
}

TEST(DataArg_Identity, LanguageAndCountryFollowTheInterfaceLanguage) {
    const struct {
        int index;
        TW_UINT16 language;
        TW_UINT16 country;
    } table[] = {{0, 2, 1},   {1, 68, 81}, {2, 11, 34},  {3, 5, 33},  {4, 6, 49}, {5, 8, 39},
                 {6, 10, 55}, {7, 69, 82}, {8, 43, 886}, {9, 41, 86}, {10, 2, 1}, {-1, 2, 1}};
    for (const auto& row : table) {
        TW_UINT16 language = 0;
        TW_UINT16 country = 0;
        DataArg_Identity::LanguageForIndex(row.index, language, country);
        EXPECT_EQ(row.language, language) << row.index;
        EXPECT_EQ(row.country, country) << row.index;
    }
}

TEST(DataArg_Identity, KeyHasTheStoredForm) {
    DataArg_Identity identity;
    TW_IDENTITY* app = identity.GetApplicationIdentity();
    app->Version.MajorNum = 2;
    app->Version.MinorNum = 1;
    std::strcpy(app->ProductName, "P");
    std::strcpy(app->ProductFamily, "F");
    std::strcpy(app->Manufacturer, "M");
    EXPECT_EQ("111f;2;1P;F;M;", identity.GetKey(ICAP_PIXELFLAVOR));
    EXPECT_EQ("103;2;1P;F;M;", identity.GetKey(ICAP_XFERMECH));

    // Names that fill their whole field, without a terminator, are cut at the field's end.
    std::memset(app->ProductName, 'x', sizeof(app->ProductName));
    EXPECT_EQ("103;2;1" + std::string(sizeof(TW_STR32), 'x') + ";F;M;",
              identity.GetKey(ICAP_XFERMECH));
}

namespace {

// Keeps the message a server error would show instead of opening the error box.
class ErrorTextRecorder : public DataArg_UserInterface {
public:
    void ShowErrorMessage(int stringId) override { shown.push_back(stringId); }
    std::vector<int> shown;
};

} // namespace

TEST(DataArg_UserInterface, ServerErrorsShowTheirMessage) {
    const struct {
        int code;
        int stringId;
    } cases[] = {
        {0, IDS_RESULT_SUCCESS},
        {-1, IDS_RESULT_BAD_PARAMETER},
        {-6, IDS_RESULT_SERVER_BUSY},
        {-10, IDS_RESULT_PROTOCOL_ERROR},
        {-201, IDS_RESULT_PROTOCOL_ERROR},
        {-15, IDS_RESULT_ITEM_NOT_FOUND},
        {-51, IDS_RESULT_BAD_PATHNAME},
        {-99, IDS_RESULT_INCOMPATIBLE},
        {-100, IDS_RESULT_NOT_AVAILABLE},
        {-103, IDS_RESULT_CANCELED},
        // Everything else is the unexpected error.
        {-4, IDS_UNEXPECTED_SERVER_ERROR},
        {1, IDS_UNEXPECTED_SERVER_ERROR},
        {-202, IDS_UNEXPECTED_SERVER_ERROR},
        {-50, IDS_UNEXPECTED_SERVER_ERROR},
        {INT_MIN, IDS_UNEXPECTED_SERVER_ERROR},
    };
    for (const auto& c : cases) {
        ErrorTextRecorder ui;
        ui.ReportServerError(c.code);
        EXPECT_EQ(std::vector<int>({c.stringId}), ui.shown) << c.code;
    }
}
