// The job attribute table: keys and values, export to the library's list, the dump file.

#include <fstream>
#include <sstream>

#include <windows.h>

#include "QuorMemoryAllocator.h"
#include "ScanAttributeWrapper.h"
#include "ServerAccessTestSupport.h"

namespace {

class ScanAttributeWrapperTest : public ServerAccessTest {
protected:
    void SetUp() override {
        ServerAccessTest::SetUp();
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        m_path = std::string(folder) + "attribute_dump_" + std::to_string(GetCurrentProcessId()) +
                 ".txt";
        DeleteFileA(m_path.c_str());
    }
    void TearDown() override {
        DeleteFileA(m_path.c_str());
        ServerAccessTest::TearDown();
    }

    std::string ReadDump() const {
        std::ifstream file(m_path, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        return content.str();
    }

    std::vector<std::string> Keys(const ServerAttributeList* list) const {
        std::vector<std::string> keys;
        for (int i = 0; i < list->count; ++i) {
            keys.push_back(list->keys[i]);
        }
        return keys;
    }

    std::string m_path;
};

TEST_F(ScanAttributeWrapperTest, SetInsertGetAndHas) {
    ScanAttributeWrapper table(&Fresh(), nullptr);
    EXPECT_EQ("ScanAttributeWrapper", table.GetClassName());
    table.SetAttribute("COLOR_MODE", "COLOR");
    EXPECT_FALSE(table.InsertAttribute("COLOR_MODE", "GRAYSCALE"));
    EXPECT_EQ("COLOR", table.GetAttribute("COLOR_MODE"));
    EXPECT_TRUE(table.InsertAttribute("RESOLUTION", "300"));
    table.SetAttribute("RESOLUTION", "600");
    EXPECT_EQ("600", table.GetAttribute("RESOLUTION"));

    EXPECT_FALSE(table.HasAttribute("SUBJECT"));
    EXPECT_EQ("", table.GetAttribute("SUBJECT"));
    table.SetAttribute("SUBJECT", "");
    EXPECT_TRUE(table.HasAttribute("SUBJECT"));
    EXPECT_EQ("", table.GetAttribute("SUBJECT"));

    table.SetBoolAttribute("SCAN_OCR", true);
    table.SetBoolAttribute("EMFAX_FORMAT", false);
    EXPECT_EQ("YES", table.GetAttribute("SCAN_OCR"));
    EXPECT_EQ("NO", table.GetAttribute("EMFAX_FORMAT"));
    table.Dump();
}

TEST_F(ScanAttributeWrapperTest, SourceListWithRepeatedKeysKeepsTheLaterValue) {
    char* keys[] = {const_cast<char*>("A"), const_cast<char*>("B"), const_cast<char*>("A"),
                    nullptr};
    char* values[] = {const_cast<char*>("first"), nullptr, const_cast<char*>("second"),
                      const_cast<char*>("lost")};
    const ServerAttributeList source = {keys, values, 4};
    ScanAttributeWrapper table(&Fresh(), &source);
    EXPECT_EQ("second", table.GetAttribute("A"));
    EXPECT_TRUE(table.HasAttribute("B")) << "a missing value reads as empty";
    EXPECT_EQ(2, table.GetServerList()->count) << "a missing key is skipped";

    const ServerAttributeList negative = {keys, values, -1};
    ScanAttributeWrapper empty(&Fresh(), &negative);
    EXPECT_FALSE(empty.HasAttribute("A"));
}

TEST_F(ScanAttributeWrapperTest, ExportFollowsByteOrderOfTheKeys) {
    ScanAttributeWrapper table(&Fresh(), nullptr);
    table.SetAttribute("N_MAIL_TO", "10");
    table.SetAttribute("MAIL_TO:2", "b@example.com");
    table.SetAttribute("MAIL_TO:10", "j@example.com");
    table.SetAttribute("\xC3\x9C"
                       "BER",
                       "high bytes sort last");
    table.SetAttribute("DEST:1", "");
    ServerAttributeList* list = table.GetServerList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(std::vector<std::string>({"DEST:1", "MAIL_TO:10", "MAIL_TO:2", "N_MAIL_TO",
                                        "\xC3\x9C"
                                        "BER"}),
              Keys(list));
    ASSERT_NE(nullptr, list->values[0]) << "an empty value is an empty text, never null";
    EXPECT_STREQ("", list->values[0]);
    EXPECT_STREQ("j@example.com", list->values[1]);
    EXPECT_EQ(1 + 2 + 10, OrvexSim_HeapBlocks()) << "built on the library heap";

    table.SetAttribute("MAIL_TO:3", "c@example.com");
    EXPECT_EQ(5, list->count) << "an export does not follow later changes";
    list = table.GetServerList();
    EXPECT_EQ(6, list->count);
    EXPECT_EQ(1 + 2 + 12, OrvexSim_HeapBlocks()) << "the earlier export is freed";
    table.Clear();
    EXPECT_EQ(0, OrvexSim_HeapBlocks());
    EXPECT_FALSE(table.HasAttribute("N_MAIL_TO"));

    list = table.GetServerList();
    EXPECT_EQ(0, list->count);
    EXPECT_EQ(nullptr, list->keys);
    EXPECT_EQ(nullptr, list->values);
    table.FreeServerList();
    table.FreeServerList();
    EXPECT_EQ(0, OrvexSim_HeapBlocks());
}

TEST_F(ScanAttributeWrapperTest, BuildIntoAPlaceFreesWhatItHeld) {
    QuorvelWrapperIntf& wrapper = Fresh();
    ScanAttributeWrapper table(&wrapper, nullptr);
    table.SetAttribute("A", "1");
    ServerAttributeList* list = nullptr;
    table.BuildServerList(&list);
    table.SetAttribute("B", "2");
    table.BuildServerList(&list);
    EXPECT_EQ(2, list->count);
    EXPECT_EQ(1 + 2 + 4, OrvexSim_HeapBlocks());
    dynamic_cast<QuorMemoryAllocator&>(wrapper).FreeAttributeList(&list, true);
    {
        ScanAttributeWrapper exported(&wrapper, nullptr);
        exported.SetAttribute("A", "1");
        exported.GetServerList();
    }
    EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "the destructor frees the export";

    QuorvelWrapperIntf notAnAllocator;
    ScanAttributeWrapper plain(&notAnAllocator, nullptr);
    plain.SetAttribute("A", "1");
    EXPECT_EQ(nullptr, plain.GetServerList()) << "no allocator, no export";
    ServerAttributeList* untouched = reinterpret_cast<ServerAttributeList*>(0x10);
    plain.BuildServerList(&untouched);
    EXPECT_EQ(reinterpret_cast<ServerAttributeList*>(0x10), untouched);
}

TEST_F(ScanAttributeWrapperTest, DumpFileFormat) {
    ScanAttributeWrapper table(&Fresh(), nullptr);
    table.SetAttribute("SUBJECT", "");
    table.SetAttribute("COLOR_MODE", "COLOR");
    table.SetAttribute("BODY:1", "two\nlines");
    table.SaveToFile(m_path);
    EXPECT_EQ("BODY:1 = two\r\nlines\r\nCOLOR_MODE = COLOR\r\nSUBJECT = \r\n", ReadDump());

    // Nothing written, not even truncated, for an empty table or an empty path.
    ScanAttributeWrapper empty(&Fresh(), nullptr);
    empty.SaveToFile(m_path);
    table.SaveToFile("");
    EXPECT_EQ("BODY:1 = two\r\nlines\r\nCOLOR_MODE = COLOR\r\nSUBJECT = \r\n", ReadDump());
    table.SaveToFile("Z:\\no\\such\\folder\\dump.txt");

    char* keys[] = {const_cast<char*>("Z"), const_cast<char*>("A")};
    char* values[] = {const_cast<char*>("last"), const_cast<char*>("")};
    const ServerAttributeList list = {keys, values, 2};
    ScanAttributeWrapper::WriteToFile(&list, m_path);
    EXPECT_EQ("Z = last\r\nA = \r\n", ReadDump()) << "list order, not key order";
    const ServerAttributeList none = {keys, values, 0};
    ScanAttributeWrapper::WriteToFile(&none, m_path);
    ScanAttributeWrapper::WriteToFile(nullptr, m_path);
    ScanAttributeWrapper::WriteToFile(&list, "");
    EXPECT_EQ("Z = last\r\nA = \r\n", ReadDump());
}

} // namespace
