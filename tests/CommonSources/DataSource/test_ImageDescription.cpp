// What the source tells about the page beyond the capabilities: DAT_IMAGEINFO, DAT_IMAGELAYOUT
// in every unit, the refused DAT_FILESYSTEM, and the answers that follow a page while it is
// being handed to the application. Run inside the test program through DS_Entry against the
// simulated server of this machine.

#include "CapabilityCases.h"
#include "DataArg_FileSystem.h"
#include "ScanCommandIntf.h"
#include "Scanner.h"
#include "SourceFixture.h"
#include "zylImageFile.h"

#include <array>
#include <cstring>
#include <string>

namespace {

const TW_UINT16 kUnits[] = {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PICAS,
                            TWUN_POINTS, TWUN_TWIPS,       TWUN_PIXELS};
const double kUnitsPerInch[] = {1.0, 2.54, 6.0, 72.0, 1440.0};

TW_UINT32 ItemOf(const TW_FIX32& value) {
    return Fix32Item(value.Whole, value.Frac);
}

TW_FIX32 RecordOf(TW_UINT32 item) {
    return TW_FIX32{static_cast<TW_INT16>(item & 0xffff), static_cast<TW_UINT16>(item >> 16)};
}

// Left, top, right, bottom as TW_FIX32 items.
using Edges = std::array<TW_UINT32, 4>;

Edges EdgesOf(const TW_IMAGELAYOUT& layout) {
    return {ItemOf(layout.Frame.Left), ItemOf(layout.Frame.Top), ItemOf(layout.Frame.Right),
            ItemOf(layout.Frame.Bottom)};
}

class ImageDescriptionTest : public SourceFixture {
protected:
    void SetUp() override {
        SourceFixture::SetUp();
        ShowSimulatedServers();
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        source = AbstractSource::Instance();
    }

    TW_UINT16 Layout(TW_UINT16 msg, TW_IMAGELAYOUT* layout) {
        return app.Call(DG_IMAGE, DAT_IMAGELAYOUT, msg, layout);
    }

    void SetUnits(TW_UINT16 unit) { ASSERT_EQ(TWRC_SUCCESS, SetValue(app, ICAP_UNITS, unit)); }

    void SetResolution(TW_UINT16 cap, double dpi) {
        CapAnswer answer;
        ASSERT_EQ(TWRC_SUCCESS,
                  CallCapability(app, cap, MSG_SET, OneValue(TWTY_FIX32, Fix32Of(dpi)), answer));
    }

    AbstractSource* source = nullptr;
};

} // namespace

TEST_F(ImageDescriptionTest, TheFileSystemIsRefusedWhateverTheStateAndTheRecord) {
    const TW_UINT16 messages[] = {MSG_CHANGEDIRECTORY, MSG_CREATEDIRECTORY, MSG_DELETE,
                                  MSG_FORMATMEDIA,     MSG_GETCLOSE,        MSG_GETFIRSTFILE,
                                  MSG_GETINFO,         MSG_GETNEXTFILE,     MSG_RENAME};
    TW_FILESYSTEM record = {};
    std::strcpy(record.InputName, "/");
    for (TW_UINT16 state : {4, 5, 6, 7}) {
        source->SetState(state);
        for (TW_UINT16 msg : messages) {
            SCOPED_TRACE("state " + std::to_string(state) + ", msg " + std::to_string(msg));
            EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_DENIED,
                         app.Call(DG_CONTROL, DAT_FILESYSTEM, msg, &record));
            EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_DENIED,
                         app.Call(DG_CONTROL, DAT_FILESYSTEM, msg, nullptr));
        }
    }
    source->SetState(4);
    // A message without an operation of its own fails without a condition code of its own.
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_FILESYSTEM, MSG_COPY, &record));
    // No page is being handed over.
    ASSERT_NE(nullptr, AbstractSource::GetFileSystemHandler());
    EXPECT_EQ("", AbstractSource::GetFileSystemHandler()->GetCurrentFileName());
}

// Before a page there is no size and no pixel format; the rest is what was negotiated, the
// resolutions in the current units.
TEST_F(ImageDescriptionTest, ImageInfoBeforeAPageDescribesTheNegotiatedValues) {
    ASSERT_EQ(TWRC_SUCCESS, SetValue(app, ICAP_PIXELTYPE, TWPT_GRAY));
    SetResolution(ICAP_XRESOLUTION, 600.0);
    for (TW_UINT16 unit : kUnits) {
        SCOPED_TRACE("unit " + std::to_string(unit));
        SetUnits(unit);
        TW_IMAGEINFO info = {};
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                     app.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info));
        const bool pixels = unit == TWUN_PIXELS;
        EXPECT_EQ(Fix32Of(pixels ? 1.0 : 600.0 / kUnitsPerInch[unit]), ItemOf(info.XResolution));
        EXPECT_EQ(Fix32Of(pixels ? 1.0 : 300.0 / kUnitsPerInch[unit]), ItemOf(info.YResolution));
        EXPECT_EQ(-1, info.ImageWidth);
        EXPECT_EQ(-1, info.ImageLength);
        EXPECT_EQ(1, info.SamplesPerPixel);
        EXPECT_EQ(1, info.BitsPerSample[0]);
        for (int i = 1; i < 8; ++i) {
            EXPECT_EQ(0, info.BitsPerSample[i]);
        }
        EXPECT_EQ(1, info.BitsPerPixel);
        EXPECT_EQ(TWPC_CHUNKY, info.Planar);
        EXPECT_EQ(TWPT_GRAY, info.PixelType);
        EXPECT_EQ(TWCP_NONE, info.Compression);
    }
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, nullptr));
}

// Until the application sets a frame the layout is the platen, 17 x 11 inches, in any unit;
// in pixels at the current resolution of each axis.
TEST_F(ImageDescriptionTest, TheLayoutIsThePlatenUntilTheApplicationSetsOne) {
    SetResolution(ICAP_XRESOLUTION, 600.0);
    SetResolution(ICAP_YRESOLUTION, 200.0);
    for (TW_UINT16 unit : kUnits) {
        SCOPED_TRACE("unit " + std::to_string(unit));
        SetUnits(unit);
        const double x = unit == TWUN_PIXELS ? 600.0 : kUnitsPerInch[unit];
        const double y = unit == TWUN_PIXELS ? 200.0 : kUnitsPerInch[unit];
        const Edges platen = {Fix32Item(0, 0), Fix32Item(0, 0), Fix32Of(17.0 * x),
                              Fix32Of(11.0 * y)};
        for (TW_UINT16 msg : {MSG_GET, MSG_GETDEFAULT}) {
            TW_IMAGELAYOUT layout = {};
            EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Layout(msg, &layout));
            EXPECT_EQ(platen, EdgesOf(layout)) << msg;
            EXPECT_EQ(1u, layout.DocumentNumber);
            EXPECT_EQ(1u, layout.PageNumber);
            EXPECT_EQ(1u, layout.FrameNumber);
        }
    }
    // The platen in centimetres, as the nearest TW_FIX32.
    SetUnits(TWUN_CENTIMETERS);
    TW_IMAGELAYOUT layout = {};
    ASSERT_EQ(TWRC_SUCCESS, Layout(MSG_GET, &layout));
    EXPECT_EQ(Fix32Item(43, 11796), ItemOf(layout.Frame.Right));
    EXPECT_EQ(Fix32Item(27, 61604), ItemOf(layout.Frame.Bottom));

    double left, top, right, bottom;
    EXPECT_FALSE(source->GetImageLayout(left, top, right, bottom));
    for (TW_UINT16 msg : {MSG_GET, MSG_GETDEFAULT, MSG_SET}) {
        SCOPED_TRACE("msg " + std::to_string(msg));
        EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE, Layout(msg, nullptr));
    }
}

// A frame set in one unit reads in every other as the same length; each edge is converted
// along its own axis.
TEST_F(ImageDescriptionTest, AFrameSetInOneUnitReadsTheSameInEveryOther) {
    SetResolution(ICAP_XRESOLUTION, 600.0);
    SetResolution(ICAP_YRESOLUTION, 200.0);
    const auto perInch = [](TW_UINT16 unit, bool xAxis) {
        return unit == TWUN_PIXELS ? (xAxis ? 600.0 : 200.0) : kUnitsPerInch[unit];
    };
    const double given[] = {1.25, 2.0, 8.5, 10.75};
    for (TW_UINT16 setIn : kUnits) {
        for (TW_UINT16 readIn : kUnits) {
            SCOPED_TRACE("set in " + std::to_string(setIn) + ", read in " + std::to_string(readIn));
            SetUnits(setIn);
            TW_IMAGELAYOUT layout = {};
            TW_FIX32* edges[] = {&layout.Frame.Left, &layout.Frame.Top, &layout.Frame.Right,
                                 &layout.Frame.Bottom};
            for (int i = 0; i < 4; ++i) {
                *edges[i] = RecordOf(Fix32Of(given[i] * perInch(setIn, i % 2 == 0)));
            }
            layout.DocumentNumber = 3;
            layout.PageNumber = 4;
            layout.FrameNumber = 5;
            const TW_IMAGELAYOUT sent = layout;
            EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Layout(MSG_SET, &layout));

            SetUnits(readIn);
            TW_IMAGELAYOUT read = {};
            EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Layout(MSG_GET, &read));
            const Edges sentEdges = EdgesOf(sent);
            Edges expected;
            for (int i = 0; i < 4; ++i) {
                const bool xAxis = i % 2 == 0;
                expected[i] = Fix32Of(Fix32Value(sentEdges[i]) / perInch(setIn, xAxis) *
                                      perInch(readIn, xAxis));
            }
            EXPECT_EQ(expected, EdgesOf(read));
            EXPECT_EQ(3u, read.DocumentNumber);
            EXPECT_EQ(4u, read.PageNumber);
            EXPECT_EQ(5u, read.FrameNumber);
            if (setIn == readIn) {
                EXPECT_EQ(sentEdges, EdgesOf(read)) << "read back as it was set";
            }
        }
    }
}

TEST_F(ImageDescriptionTest, TheSetFrameIsKeptInInchesUntilAReset) {
    SetUnits(TWUN_INCHES);
    TW_IMAGELAYOUT layout = {};
    layout.Frame = {RecordOf(Fix32Of(1)), RecordOf(Fix32Of(2)), RecordOf(Fix32Of(8)),
                    RecordOf(Fix32Of(10))};
    layout.DocumentNumber = 7;
    layout.PageNumber = 8;
    layout.FrameNumber = 9;
    // Taken in any state.
    source->SetState(5);
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Layout(MSG_SET, &layout));
    source->SetState(4);

    // The inches read in centimetres as the nearest TW_FIX32 of 2.54, 5.08, 20.32 and 25.4.
    SetUnits(TWUN_CENTIMETERS);
    TW_IMAGELAYOUT read = {};
    ASSERT_EQ(TWRC_SUCCESS, Layout(MSG_GET, &read));
    EXPECT_EQ((Edges{Fix32Item(2, 35389), Fix32Item(5, 5243), Fix32Item(20, 20972),
                     Fix32Item(25, 26214)}),
              EdgesOf(read));
    // The default frame keeps the application's numbers while its frame holds.
    ASSERT_EQ(TWRC_SUCCESS, Layout(MSG_GETDEFAULT, &read));
    EXPECT_EQ((Edges{0, 0, Fix32Item(43, 11796), Fix32Item(27, 61604)}), EdgesOf(read));
    EXPECT_EQ(7u, read.DocumentNumber);
    EXPECT_EQ(8u, read.PageNumber);
    EXPECT_EQ(9u, read.FrameNumber);

    // An A4 frame given in centimetres is handed on in inches.
    layout.Frame = {RecordOf(Fix32Of(0)), RecordOf(Fix32Of(0)), RecordOf(Fix32Of(21)),
                    RecordOf(Fix32Of(29.7))};
    ASSERT_EQ(TWRC_SUCCESS, Layout(MSG_SET, &layout));
    double left = -1, top = -1, right = -1, bottom = -1;
    EXPECT_TRUE(source->GetImageLayout(left, top, right, bottom));
    EXPECT_EQ(0.0, left);
    EXPECT_EQ(0.0, top);
    EXPECT_DOUBLE_EQ(Fix32Value(Fix32Of(21)) / 2.54, right);
    EXPECT_DOUBLE_EQ(Fix32Value(Fix32Of(29.7)) / 2.54, bottom);

    // A reset reads nothing and brings the platen back.
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Layout(MSG_RESET, nullptr));
    EXPECT_FALSE(source->GetImageLayout(left, top, right, bottom));
    SetUnits(TWUN_INCHES);
    ASSERT_EQ(TWRC_SUCCESS, Layout(MSG_GET, &read));
    EXPECT_EQ((Edges{0, 0, Fix32Item(17, 0), Fix32Item(11, 0)}), EdgesOf(read));
    EXPECT_EQ(1u, read.DocumentNumber);
}

// While a page is handed over, every description is that page's; the negotiated values come
// back once the scan command lets it go.
TEST_F(ImageDescriptionTest, AnswersFollowThePageBeingHandedOver) {
    Scanner* const scanner = source->GetScanner();
    ASSERT_TRUE(scanner->RefreshJobs());
    zylImageFile* const job = scanner->FindImageFileByJobID(101); // colour, 100 dpi
    ASSERT_NE(nullptr, job);
    job->BeginTransfer();
    ScanCommandIntf* const command = scanner->GetScanCommand();
    command->AttachImageFile(job);
    zylImageFile* const page = source->GetCurrentPageImage();
    ASSERT_NE(nullptr, page);
    const TW_UINT16 depth = page->GetBitsPerPixel();
    const TW_INT32 width = page->GetImageWidth();
    const TW_INT32 length = page->GetImageLength();
    ASSERT_GT(width, 0);
    ASSERT_GT(length, 0);

    ASSERT_EQ(TWRC_SUCCESS, SetValue(app, ICAP_PIXELTYPE, TWPT_BW));
    CapAnswer answer;
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 CallCapability(app, ICAP_PIXELTYPE, MSG_GET, Empty(), answer));
    EXPECT_EQ(std::vector<TW_UINT32>{TWPT_RGB}, answer.items);
    EXPECT_EQ(TWPT_RGB, CurrentValue(app, ICAP_PIXELTYPE));
    EXPECT_EQ(depth, CurrentValue(app, ICAP_BITDEPTH));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 CallCapability(app, ICAP_BITDEPTH, MSG_GET, Empty(), answer));
    EXPECT_EQ(std::vector<TW_UINT32>{depth}, answer.items);

    // The page's resolution, in the current units; only that one can be set.
    SetUnits(TWUN_CENTIMETERS);
    EXPECT_EQ(Fix32Of(100.0 / 2.54), CurrentValue(app, ICAP_XRESOLUTION));
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_CAPUNSUPPORTED,
                 CallCapability(app, ICAP_XRESOLUTION, MSG_SET,
                                OneValue(TWTY_FIX32, Fix32Of(300.0 / 2.54)), answer));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 CallCapability(app, ICAP_YRESOLUTION, MSG_SET,
                                OneValue(TWTY_FIX32, Fix32Of(100.0 / 2.54)), answer));

    TW_IMAGEINFO info = {};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info));
    EXPECT_EQ(Fix32Of(100.0 / 2.54), ItemOf(info.XResolution));
    EXPECT_EQ(width, info.ImageWidth);
    EXPECT_EQ(length, info.ImageLength);
    EXPECT_EQ(page->GetSamplesPerPixel(), static_cast<TW_UINT16>(info.SamplesPerPixel));
    EXPECT_EQ(depth, info.BitsPerPixel);
    EXPECT_EQ(TWPT_RGB, info.PixelType);

    // The page's size stands for the platen.
    SetUnits(TWUN_INCHES);
    TW_IMAGELAYOUT layout = {};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, Layout(MSG_GET, &layout));
    EXPECT_EQ((Edges{0, 0, Fix32Of(width / 100.0), Fix32Of(length / 100.0)}), EdgesOf(layout));
    EXPECT_EQ(static_cast<TW_UINT32>(page->GetCurrentPage()), layout.PageNumber);

    command->Reset();
    EXPECT_EQ(TWPT_BW, CurrentValue(app, ICAP_PIXELTYPE));
    EXPECT_EQ(1u, CurrentValue(app, ICAP_BITDEPTH));
    EXPECT_EQ(Fix32Of(300.0), CurrentValue(app, ICAP_XRESOLUTION));
    EXPECT_EQ(Fix32Of(100.0), CurrentValue(app, ICAP_YRESOLUTION)) << "the page's, kept";
}
