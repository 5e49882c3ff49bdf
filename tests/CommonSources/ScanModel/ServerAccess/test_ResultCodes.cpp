// Names of the server result codes and the wrapper exception.

#include <gtest/gtest.h>

#include "QuorvelWrapper.h"
#include "QuorvelWrapperException.h"

namespace {

TEST(ResultCodes, EveryNamedCode) {
    const std::pair<int, const char*> table[] = {
        {0, "OK"},
        {-1, "BAD_PARAM"},
        {-2, "ACCESS_DENIED"},
        {-3, "SYSTEM_ERROR"},
        {-5, "FILE_NOT_FOUND"},
        {-6, "BUSY"},
        {-7, "HOST_NOT_FOUND"},
        {-8, "HOST_UNREACHABLE"},
        {-9, "CONNECTION_FAILED"},
        {-10, "PROTOCOL_ERROR"},
        {-11, "GENERAL_FAILURE"},
        {-12, "INVALID_HANDLE"},
        {-13, "LP_NOT_FOUND"},
        {-14, "LP_EXISTS"},
        {-15, "ITEM_NOT_FOUND"},
        {-16, "BAD_DEVICE_INDEX"},
        {-17, "NO_SUCH_SCOPE"},
        {-18, "KEY_NOT_FOUND"},
        {-19, "VALUE_NOT_FOUND"},
        {-20, "MALFORMED_ATTRIBUTES"},
        {-21, "INVALID_SCOPE"},
        {-22, "CONSTRAINTS_VIOLATED"},
        {-23, "FILE_LOCKED"},
        {-24, "OUT_OF_MEMORY"},
        {-30, "LOCL_PARMERR"},
        {-31, "LOCL_NOMEMERR"},
        {-32, "LOCL_INVALID_HANDLE"},
        {-33, "LOCL_UNKNOWN_KEY"},
        {-34, "LOCL_INVALID_LOCALE"},
        {-35, "LOCL_INVALID_ENCODING"},
        {-36, "LOCL_INTERNAL_ERROR"},
        {-37, "LOCL_UNSUPPORTED"},
        {-38, "OFFSET_OUT_OF_RANGE"},
        {-39, "BAD_LIMIT"},
        {-40, "ACTION_UNNECESSARY"},
        {-41, "PARAMETER_MAY_NOT_BE_NULL"},
        {-42, "NO_DEFAULT"},
        {-43, "NO_CONSTRAINTS"},
        {-50, "JOB_NOT_FOUND"},
        {-51, "BAD_PATH"},
        {-52, "ARCHIVE_NOT_FOUND"},
        {-53, "DISK_FULL"},
        {-54, "TAB_EXISTS"},
        {-60, "NO_RETURN"},
        {-61, "CANNOT_REUSE_NBTICKET"},
        {-70, "SNMP_PDU_ERROR"},
        {-71, "SNMP_TOO_BIG"},
        {-72, "SNMP_NO_SUCH_NAME"},
        {-73, "SNMP_BAD_VALUE"},
        {-74, "SNMP_READ_ONLY"},
        {-75, "SNMP_GENERAL_ERROR"},
        {-99, "FUNCTION_NOT_COMPATIBLE"},
        {-100, "FUNCTION_NOT_AVAILABLE"},
        {-101, "PENDING"},
        {-102, "TIMEOUT"},
        {-103, "CANCELED"},
        {-104, "ACTION_NOT_SUPPORTED"},
        {-110, "ADDRESS_DATABASE_OPEN_ERROR"},
        {-111, "ADDRESS_DATABASE_WRITE_ERROR"},
        {-112, "ADDRESS_SERVICE_ERROR"},
        {-113, "ADDRESS_DUPLICATE_ENTRY"},
        {-200, "SCAN_DEST_NOT_SUPPORTED"},
        {-201, "SCAN_DEST_FAILED"},
        {-202, "SCAN_DISK_PARTITION_FULL"},
        {101, "Quorvel_core.dll is not found"},
        {102, "Quorvel10.dll is not found"},
        {103, "Quorvel_zyl.dll is not found"},
        {104, "Quorvel_scan.dll is not found"},
        {105, "A quorvel function is not found"},
    };
    EXPECT_EQ(69u, sizeof(table) / sizeof(table[0]));
    int named = 0;
    for (const auto& [code, name] : table) {
        EXPECT_EQ(name, QuorvelWrapper::ResultToString(code)) << code;
    }
    // Every other value in a wide band is unknown.
    for (int code = -400; code <= 200; ++code) {
        if (QuorvelWrapper::ResultToString(code) != "Unknown Quorvel Result") {
            ++named;
        }
    }
    EXPECT_EQ(69, named);
    for (const int code : {-4, -25, -29, -44, -49, -55, -62, -76, -98, -105, -114, -199, -203, 1,
                           100, 106, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ("Unknown Quorvel Result", QuorvelWrapper::ResultToString(code)) << code;
    }
}

TEST(ResultCodes, ExceptionNamesItsCodeInOneSharedBuffer) {
    const QuorvelWrapperException first("ServerAccess\\Scanner", 1820, -100);
    const char* const text = first.what();
    EXPECT_STREQ("FUNCTION_NOT_AVAILABLE", text);
    const QuorvelWrapperException second("ServerAccess\\Scanner", 279, -9);
    EXPECT_STREQ("CONNECTION_FAILED", second.what());
    EXPECT_STREQ("CONNECTION_FAILED", text) << "the earlier text is overwritten";
    const QuorvelWrapperException unknown(nullptr, -3, 7777);
    EXPECT_STREQ("Unknown Quorvel Result", unknown.what());
    EXPECT_EQ(7777, unknown.GetResultCode());
    EXPECT_EQ("", unknown.GetSourceFile());

    const QuorvelWrapperException copy(first);
    EXPECT_EQ(-100, copy.GetResultCode());
    EXPECT_EQ(1820, copy.GetLine());
    EXPECT_EQ("ServerAccess\\Scanner", copy.GetSourceFile());
    try {
        throw QuorvelWrapperException(__FILE__, __LINE__, -6);
    } catch (const CommonCpp::Exception& caught) {
        EXPECT_STREQ("BUSY", caught.what());
        EXPECT_EQ("Exception Occurred", caught.GetDescription());
    }
}

} // namespace
