#include "BinaryFileException.h"
#include "Exception.h"
#include "FormatText.h"
#include "XGError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <sstream>
#include <string>

using CommonCpp::BinaryFileException;

namespace {

// Remembers where it was caught.
class RecordingException : public CommonCpp::Exception {
public:
    RecordingException() : Exception("here.cpp", 1) {}
    void NoteCatchSite(const std::string& file, int line) override {
        caughtIn = file;
        caughtAt = line;
    }
    std::string caughtIn;
    int caughtAt = 0;
};

std::string Format(const char* format, ...) {
    char out[256];
    va_list args;
    va_start(args, format);
    CommonCpp::FormatTextV(out, sizeof out, format, args);
    va_end(args);
    return out;
}

std::string MessageOf(const CommonCpp::XGError& e) {
    char text[CommonCpp::XGPostError::TextSize];
    e.GetMessageText(text, sizeof text);
    return text;
}

std::string ExplanationOf(const CommonCpp::XGError& e) {
    char text[CommonCpp::XGPostError::TextSize];
    e.GetExplanationText(text, sizeof text);
    return text;
}

} // namespace

TEST(ExceptionFamily, WhatGivesTheClassName) {
    EXPECT_STREQ("BadHandleException", CommonCpp::BadHandleException("f", 1).what());
    EXPECT_STREQ("BinaryFileException", BinaryFileException("f", 1, 1, "x", 0).what());
    const std::exception& asStd = BinaryFileException("f", 1, 1, "x", 0);
    EXPECT_STREQ("BinaryFileException", asStd.what());
}

TEST(ExceptionFamily, BinaryFileReasonTexts) {
    const struct {
        int reason;
        const char* text;
    } cases[] = {
        {0, "unknown reason"},  {1, "can't open file"},         {2, "can't write file"},
        {3, "can't read file"}, {4, "can't get file position"}, {5, "can't set file position"},
        {6, "wrong file type"}, {7, "file does not exist"},     {8, "unknown reason"},
        {-1, "unknown reason"},
    };
    for (const auto& c : cases) {
        std::ostringstream os;
        BinaryFileException("src\\zylFile", 7, c.reason, "page.raw", 2).Print(os);
        EXPECT_EQ(std::string("BinaryFileException reason '") + c.text +
                      "', binary file 'page.raw', errno 2, line 7, source file 'src\\zylFile'.\n",
                  os.str())
            << "reason " << c.reason;
    }
}

TEST(ExceptionFamily, BinaryFileDescriptionIsTheStoredErrno) {
    const std::string missing = std::strerror(ENOENT);
    BinaryFileException e("f", 1, BinaryFileException::CantOpen, "a.bin", ENOENT);
    errno = EACCES;
    EXPECT_EQ(missing, e.GetDescription());
    const BinaryFileException copy(e);
    EXPECT_EQ(ENOENT, copy.GetErrno());
    EXPECT_EQ("a.bin", copy.GetFileName());
    EXPECT_EQ(BinaryFileException::CantOpen, copy.GetReason());
}

TEST(ExceptionFamily, NoteExceptionReachesOnlyTheFamily) {
    RecordingException own;
    CommonCpp::NoteException(&own, "catch.cpp", 42);
    EXPECT_EQ("catch.cpp", own.caughtIn);
    EXPECT_EQ(42, own.caughtAt);

    std::bad_alloc outsider;
    EXPECT_NO_THROW(CommonCpp::NoteException(&outsider, "catch.cpp", 43));
    EXPECT_NO_THROW(CommonCpp::NoteException(nullptr, "catch.cpp", 44));
}

namespace {

std::string g_traced;

void KeepTrace(const char* line) {
    g_traced = line;
}

} // namespace

TEST(ExceptionFamily, DebugTraceCutsLongTexts) {
    const CommonCpp::TraceOutput previous = CommonCpp::SetTraceOutput(&KeepTrace);
    CommonCpp::DebugTrace("%s and %d", "short", 7);
    EXPECT_EQ("short and 7\n", g_traced);
    const std::string huge(5000, 'x');
    CommonCpp::DebugTrace("%s and %d", huge.c_str(), 7);
    EXPECT_EQ(std::string(1022, 'x') + "\n", g_traced) << "cut to the buffer, line break kept";
    CommonCpp::SetTraceOutput(previous);
}

TEST(FormatText, Directives) {
    const unsigned char pascal[] = {3, 'a', 'b', 'c', 'd'};
    EXPECT_EQ("-42", Format("#L", -42));
    EXPECT_EQ("0", Format("#L", 0));
    EXPECT_EQ("-2147483648 2147483647", Format("#L #L", INT_MIN, INT_MAX));
    EXPECT_EQ("000000FF", Format("#X", 255));
    EXPECT_EQ("DEADBEEF", Format("#X", 0xDEADBEEFu));
    EXPECT_EQ("A.BC", Format("#I", 0x41004243u));
    EXPECT_EQ("TEXT", Format("#I", 0x54455854u));
    EXPECT_EQ("abc!", Format("#P!", pascal));
    EXPECT_EQ("<disk>", Format("<#S>", "disk"));
    EXPECT_EQ("#Q #l #0L", Format("#Q #l #0L"));
    EXPECT_EQ("##L", Format("##L"));
    EXPECT_EQ("100%#", Format("100%#"));
    EXPECT_EQ("no directives", Format("no directives"));
}

TEST(FormatText, ArgumentPositions) {
    EXPECT_EQ("second first", Format("#2S #1S", "first", "second"));
    // A plain directive takes the argument after the one used last.
    EXPECT_EQ("2 3 1 2", Format("#2L #L #1L #L", 1, 2, 3));
    EXPECT_EQ("9 9", Format("#9L #9L", 1, 2, 3, 4, 5, 6, 7, 8, 9));
    // Nothing remains to take after the ninth argument.
    EXPECT_EQ("9 #L", Format("#9L #L", 1, 2, 3, 4, 5, 6, 7, 8, 9));
    EXPECT_EQ("A B 00000001", Format("#S #S #3X", "A", "B", 1));
    // Numbers and pointers mixed, out of order, with a position no directive names: every
    // pointer arrives whole (on 64-bit, string literals sit above 4 GiB).
    static const char high[] = "high";
    EXPECT_EQ("high=7 -1", Format("#3S=#1L #4L", 7, "skipped", high, -1));
}

TEST(FormatText, OutputIsBoundedAndTerminated) {
    const std::string longText(600, 'y');
    char out[16];
    std::memset(out, '#', sizeof out);
    const std::size_t written = CommonCpp::FormatText(out, 8, "#S", longText.c_str());
    EXPECT_EQ(7u, written);
    EXPECT_STREQ("yyyyyyy", out);
    for (std::size_t i = 8; i < sizeof out; ++i) {
        EXPECT_EQ('#', out[i]) << "byte " << i << " written past the output";
    }

    out[0] = 'z';
    EXPECT_EQ(0u, CommonCpp::FormatText(out, 0, "#L", 5));
    EXPECT_EQ('z', out[0]);
    EXPECT_EQ(0u, CommonCpp::FormatText(out, 1, "#L", 5));
    EXPECT_STREQ("", out);
}

TEST(ErrorMessages, LookUpEntries) {
    char message[CommonCpp::ErrorTextBufferSize];
    char explanation[CommonCpp::ErrorTextBufferSize];
    ASSERT_TRUE(CommonCpp::LoadErrorMessage(128, 0, message, explanation));
    EXPECT_STREQ("Entry zero", message);
    EXPECT_STREQ("First explanation", explanation);
    ASSERT_TRUE(CommonCpp::LoadErrorMessage(128, 3, message, explanation));
    EXPECT_STREQ("Third", message);
    EXPECT_STREQ("3", explanation);
    ASSERT_TRUE(CommonCpp::LoadErrorMessage(128, 2, message, explanation));
    EXPECT_STREQ("", message);

    const struct {
        std::uint16_t resource;
        std::int16_t index;
    } failing[] = {
        {128, 6},  // equal to the entry count
        {128, -1}, // indexes are signed
        {127, 0},  // no such resource
        {129, 2},  // the resource claims more entries than it holds
    };
    for (const auto& f : failing) {
        EXPECT_FALSE(CommonCpp::LoadErrorMessage(f.resource, f.index, message, explanation))
            << f.resource << "/" << f.index;
    }
}

TEST(ErrorMessages, PostErrorFormatsItsEntry) {
    const CommonCpp::XGPostError e(0x800001, "disk", 7);
    EXPECT_EQ("Value disk is 7", MessageOf(e));
    EXPECT_EQ("Code 00000007", ExplanationOf(e));

    char small[6];
    e.GetMessageText(small, sizeof small);
    EXPECT_STREQ("Value", small);
}

TEST(ErrorMessages, PostErrorTextsAreSharedByTheProcess) {
    const CommonCpp::XGPostError first(CommonCpp::ErrorPreferencesKey);
    EXPECT_EQ("Cannot open the settings key", MessageOf(first));
    const CommonCpp::XGPostError second(CommonCpp::ErrorThreadCreate);
    EXPECT_EQ("Cannot create a thread", MessageOf(first));
    EXPECT_EQ("Threads", ExplanationOf(second));

    // No entry for the code: both texts empty.
    const CommonCpp::XGPostError unknown(0x990001);
    EXPECT_EQ("", MessageOf(unknown));
    EXPECT_EQ("", ExplanationOf(unknown));
}

TEST(ErrorMessages, PostErrorIsAStandardException) {
    try {
        throw CommonCpp::XGPostError(CommonCpp::ErrorPreferencesKey);
    } catch (const CommonCpp::XGError& e) {
        EXPECT_EQ("Cannot open the settings key", MessageOf(e));
        EXPECT_EQ("Registry", ExplanationOf(e));
    }
}
