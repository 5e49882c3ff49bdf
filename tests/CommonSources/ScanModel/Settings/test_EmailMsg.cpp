#include "EmailMsg.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

TEST(EmailAddress, FormatsWithOrWithoutName) {
    EXPECT_EQ("\"Ann Lee\" <ann@example.com>", EmailAddress("Ann Lee", "ann@example.com").Format());
    EXPECT_EQ("<ann@example.com>", EmailAddress("", "ann@example.com").Format());
    EXPECT_EQ("<>", EmailAddress().Format());
}

TEST(EmailAddress, ParsesTheTextForms) {
    struct Case {
        const char* text;
        const char* name;
        const char* address;
    };
    const Case cases[] = {
        {"  ann@example.com  ", "", "ann@example.com"},
        {"\"Ann Lee\" <ann@example.com>", "Ann Lee", "ann@example.com"},
        {" \" Ann \"  < ann@example.com > ", "Ann", "ann@example.com"},
        // A name without quotes is dropped.
        {"Ann Lee <ann@example.com>", "", "ann@example.com"},
        // A quoted name alone is both name and address.
        {"\"Ann Lee\"", "Ann Lee", "Ann Lee"},
        // One quote alone gives no name.
        {"Ann\" <ann@example.com>", "", "ann@example.com"},
        // The bracketed address may come first.
        {"<ann@example.com> \"Ann Lee\"", "Ann Lee", "ann@example.com"},
        // An unclosed bracket keeps all of the text after it.
        {"\"Ann\" <ann@example.com", "Ann", "ann@example.com"},
        {"<ann@example.com", "", "ann@example.com"},
        {"", "", ""},
        {"<>", "", "<>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string name = "stale";
        std::string address = "stale";
        EmailAddress::Parse(c.text, name, address);
        EXPECT_EQ(c.name, name);
        EXPECT_EQ(c.address, address);
    }
}

TEST(EmailAddressList, SplitsAndJoins) {
    EmailAddressList list;
    list.SetFromString("\"Lee; Ann\" <ann@example.com>;; bob@example.com;");
    ASSERT_EQ(2, list.GetCount());
    EXPECT_EQ("Lee; Ann", list.GetAt(0).GetName());
    EXPECT_EQ("ann@example.com", list.GetAt(0).GetAddress());
    EXPECT_EQ("", list.GetAt(1).GetName());
    EXPECT_EQ("bob@example.com", list.GetAt(1).GetAddress());
    EXPECT_EQ("\"Lee; Ann\" <ann@example.com>; <bob@example.com>", list.ToString());

    EmailAddressList again;
    again.SetFromString(list.ToString());
    ASSERT_EQ(2, again.GetCount());
    EXPECT_EQ(list.ToString(), again.ToString());

    list.SetFromString("");
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ("", list.ToString());
    // Duplicates stay, and Add keeps even an empty parse.
    list.Add("x@y");
    list.Add("x@y");
    list.Add("");
    EXPECT_EQ(3, list.GetCount());
}

TEST(EmailAddressList, IndexOutsideTheListThrows) {
    EmailAddressList list;
    list.Add("a@b");
    EXPECT_THROW(list.GetAt(1), std::out_of_range);
    EXPECT_THROW(list.GetAt(-1), std::out_of_range);
    try {
        list.GetAt(1);
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ("invalid vector<T> subscript", e.what());
    }
}

TEST(EmailMsg, SubjectKeepsEightyBytes) {
    EmailMsg msg;
    msg.SetSubject(std::string(80, 's'));
    EXPECT_EQ(80u, msg.GetSubject().size());
    msg.SetSubject(std::string(80, 'a') + "b");
    EXPECT_EQ(std::string(80, 'a'), msg.GetSubject());
}

TEST(EmailMsg, RecipientListsAreSeparate) {
    EmailMsg msg;
    msg.SetToFromString("a@x; \"B\" <b@x>");
    msg.AddCc("c@x");
    EXPECT_EQ(2, msg.GetToCount());
    EXPECT_EQ(1, msg.GetCcCount());
    EXPECT_EQ(0, msg.GetBccCount());
    EXPECT_EQ(3, msg.GetRecipientCount());
    EXPECT_EQ("B", msg.GetTo(1).GetName());
    EXPECT_EQ("<c@x>", msg.GetCcString());
    EXPECT_THROW(msg.GetBcc(0), std::out_of_range);
    msg.ClearTo();
    EXPECT_EQ(1, msg.GetRecipientCount());
}

TEST(EmailMsg, BodyIsCutIntoShortLinesAndJoinedBack) {
    struct Case {
        std::string body;
        std::vector<std::string> lines;
    };
    const std::string l79(79, 'x');
    const Case cases[] = {
        {"", {""}},
        {"hello", {"hello"}},
        {"one\ntwo", {"one", "", "two"}},
        {"one\n\ntwo", {"one", "", "", "two"}},
        {"end\n", {"end", "", ""}},
        {"\n\nlate", {"", "", "late"}},
        {"a\r\nb", {"a\r", "", "b"}},
        {std::string(80, 'x'), {l79, "x"}},
        {std::string(158, 'x'), {l79, l79}},
        {std::string(159, 'x'), {l79, l79, "x"}},
        {l79 + "\n", {l79, "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        EmailMsg msg;
        msg.SetBody("stale");
        msg.SetBody(c.body);
        ASSERT_EQ(static_cast<int32_t>(c.lines.size()), msg.GetLineCount());
        for (size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(c.lines[i], msg.GetLine(static_cast<int32_t>(i))) << i;
        }
        EXPECT_THROW(msg.GetLine(msg.GetLineCount()), std::out_of_range);
        EXPECT_EQ(c.body, msg.GetBody()) << "the lines give back the text";
    }
    EXPECT_EQ("", EmailMsg().GetBody());
}
