// JpegReader and TiffReader over the image library: conversion, crop and resample with the
// values kept, and each failure raised before or by the library.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <windows.h>

#include "BinaryFileException.h"
#include "FileSpec.h"
#include "JpegReader.h"
#include "JpegReaderException.h"
#include "TiffReader.h"
#include "TiffReaderException.h"

namespace {

std::string BinFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string module = path;
    return module.substr(0, module.find_last_of("\\/"));
}

// A page of the default simulated server's jobs, made at build time.
CommonCpp::FileSpec JobPage(int job, const char* page) {
    return CommonCpp::FileSpec(BinFolder() + "\\servers\\default\\jobs\\" + std::to_string(job) +
                               "\\" + page);
}

CommonCpp::FileSpec TempOutput(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return CommonCpp::FileSpec(std::string(folder) + "reader_" +
                               std::to_string(GetCurrentProcessId()) + "_" + name);
}

struct Values {
    int32_t in1, in2, in3, out1, out2, out3;
    bool operator==(const Values& o) const {
        return in1 == o.in1 && in2 == o.in2 && in3 == o.in3 && out1 == o.out1 && out2 == o.out2 &&
               out3 == o.out3;
    }
};

std::ostream& operator<<(std::ostream& os, const Values& v) {
    return os << "in " << v.in1 << "," << v.in2 << "," << v.in3 << " out " << v.out1 << ","
              << v.out2 << "," << v.out3;
}

template <class Reader> Values ValuesOf(const Reader& reader) {
    return {reader.GetInputInfo1(),  reader.GetInputInfo2(),  reader.GetInputInfo3(),
            reader.GetOutputInfo1(), reader.GetOutputInfo2(), reader.GetOutputInfo3()};
}

class PageReaderTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const CommonCpp::FileSpec& file : m_outputs) {
            file.Delete();
        }
    }
    CommonCpp::FileSpec Output(const std::string& name) {
        m_outputs.push_back(TempOutput(name));
        m_outputs.back().Delete();
        return m_outputs.back();
    }

    std::vector<CommonCpp::FileSpec> m_outputs;
};

TEST_F(PageReaderTest, JpegConvertKeepsTheValuesOfBothPages) {
    JpegReader reader(JobPage(101, "page1.jpg"));
    EXPECT_EQ((Values{0, 0, 0, 0, 0, 0}), ValuesOf(reader));
    const CommonCpp::FileSpec output = Output("colour.jpg");
    reader.Convert(output);
    // Length, width and bits per pixel.
    EXPECT_EQ((Values{240, 320, 24, 240, 320, 24}), ValuesOf(reader));
    EXPECT_GT(output.GetSize(), 1000);
}

TEST_F(PageReaderTest, TiffConvertCropAndResample) {
    TiffReader reader(JobPage(103, "page1.tif"));
    reader.Convert(Output("bw.tif"));
    EXPECT_EQ((Values{300, 400, 1, 300, 400, 1}), ValuesOf(reader));
    // Crop (left, top, right, bottom): the library gets top and left first.
    reader.Crop(Output("crop.tif"), 10, 20, 110, 60);
    EXPECT_EQ((Values{300, 400, 1, 40, 100, 1}), ValuesOf(reader));
    reader.Resample(Output("small.jpg"), 30, 60);
    EXPECT_EQ((Values{300, 400, 1, 30, 60, 8}), ValuesOf(reader)) << "bilevel JPEG is grey";
}

TEST_F(PageReaderTest, JpegCropAndResample) {
    JpegReader reader(JobPage(105, "page1.jpg"));
    reader.Crop(Output("crop.jpg"), 0, 0, 50, 70);
    EXPECT_EQ((Values{280, 200, 8, 70, 50, 8}), ValuesOf(reader));
    reader.Resample(Output("big.tif"), 560, 400);
    EXPECT_EQ((Values{280, 200, 8, 560, 400, 8}), ValuesOf(reader));
}

TEST_F(PageReaderTest, MissingInputFailsInTheConstructor) {
    const CommonCpp::FileSpec missing = JobPage(101, "page7.jpg");
    try {
        JpegReader reader(missing);
        FAIL() << "no exception";
    } catch (const CommonCpp::BinaryFileException& e) {
        EXPECT_EQ(CommonCpp::BinaryFileException::CantOpen, e.GetReason());
        EXPECT_EQ("page7.jpg", e.GetFileName());
        EXPECT_EQ(0, e.GetErrno());
    }
    EXPECT_THROW(TiffReader reader(missing), CommonCpp::BinaryFileException);
}

TEST_F(PageReaderTest, UnwritableOutputFailsBeforeTheLibrary) {
    TiffReader reader(JobPage(103, "page1.tif"));
    reader.Convert(Output("first.tif"));
    const CommonCpp::FileSpec nowhere = TempOutput("no_such_folder\\out.tif");
    for (int operation = 0; operation < 3; ++operation) {
        try {
            switch (operation) {
            case 0:
                reader.Convert(nowhere);
                break;
            case 1:
                reader.Crop(nowhere, 0, 0, 1, 1);
                break;
            default:
                reader.Resample(nowhere, 1, 1);
                break;
            }
            FAIL() << "no exception";
        } catch (const CommonCpp::BinaryFileException& e) {
            EXPECT_EQ("out.tif", e.GetFileName());
        }
    }
    EXPECT_EQ((Values{300, 400, 1, 300, 400, 1}), ValuesOf(reader));
}

TEST_F(PageReaderTest, LibraryFailuresLeaveTheValues) {
    JpegReader reader(JobPage(101, "page1.jpg"));
    reader.Convert(Output("ok.jpg"));
    const Values before = ValuesOf(reader);
    // A crop that leaves the page, a resample to nothing, an output the library cannot name.
    try {
        reader.Crop(Output("outside.jpg"), 0, 0, 321, 10);
        FAIL() << "no exception";
    } catch (const JpegReaderException& e) {
        EXPECT_STREQ("JpegReaderException", e.what());
    }
    EXPECT_THROW(reader.Resample(Output("none.jpg"), 0, 10), JpegReaderException);
    EXPECT_THROW(reader.Convert(Output("page.png")), JpegReaderException);
    EXPECT_EQ(before, ValuesOf(reader));
}

TEST_F(PageReaderTest, EachReaderTakesOnlyItsFormat) {
    JpegReader jpeg(JobPage(103, "page1.tif"));
    EXPECT_THROW(jpeg.Convert(Output("x.jpg")), JpegReaderException);
    TiffReader tiff(JobPage(101, "page1.jpg"));
    try {
        tiff.Convert(Output("x.tif"));
        FAIL() << "no exception";
    } catch (const TiffReaderException& e) {
        EXPECT_STREQ("TiffReaderException", e.what());
    }
    EXPECT_EQ((Values{0, 0, 0, 0, 0, 0}), ValuesOf(tiff));
}

} // namespace
