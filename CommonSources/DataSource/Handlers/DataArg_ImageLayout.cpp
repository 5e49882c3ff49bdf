#include "DataArg_ImageLayout.h"

#include "AbstractSource.h"
#include "DataArg_Resolution.h"
#include "TW_Fix32.h"
#include "TwainException.h"
#include "TwainUnits.h"
#include "zylImageFile.h"

namespace {

constexpr int kAxisX = DataArg_Resolution::kAxisX;
constexpr int kAxisY = DataArg_Resolution::kAxisY;

// The platen: 17 inches wide, 11 high.
constexpr double kPlatenWidthInches = 17.0;
constexpr double kPlatenHeightInches = 11.0;

pTW_IMAGELAYOUT LayoutOf(TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    return static_cast<pTW_IMAGELAYOUT>(pData);
}

// A side of pixels at a page's resolution in inches; the platen's when the page has none.
double PageSide(std::int32_t pixels, const TW_FIX32& resolution, double platen) {
    const double dpi = CommonTwain::Fix32ToDouble(resolution);
    return dpi > 0.0 ? pixels / dpi : platen;
}

} // namespace

DataArg_ImageLayout::DataArg_ImageLayout(AbstractSource& source) : m_source(source) {}

DataArg_ImageLayout::~DataArg_ImageLayout() = default;

bool DataArg_ImageLayout::IsDat(TW_UINT16 dat) const {
    return dat == DAT_IMAGELAYOUT;
}

double DataArg_ImageLayout::UnitsPerInchOf(int axis) const {
    const TW_UINT16 units = m_source.GetUnitsCurrent();
    // A pixel is a dot of the resolution the page is scanned at.
    return units == TWUN_PIXELS ? m_source.GetResolutionDpi(axis) : UnitsPerInch(units);
}

DataArg_ImageLayout::Frame DataArg_ImageLayout::DefaultFrame() const {
    Frame frame;
    frame.right = kPlatenWidthInches;
    frame.bottom = kPlatenHeightInches;
    if (zylImageFile* page = m_source.GetCurrentPageImage()) {
        frame.right = PageSide(page->GetImageWidth(), page->GetXResolution(), frame.right);
        frame.bottom = PageSide(page->GetImageLength(), page->GetYResolution(), frame.bottom);
    }
    return frame;
}

void DataArg_ImageLayout::Answer(const Frame& frame, TW_MEMREF pData) const {
    pTW_IMAGELAYOUT const layout = LayoutOf(pData);
    TW_IMAGELAYOUT answer = {};
    const double x = UnitsPerInchOf(kAxisX);
    const double y = UnitsPerInchOf(kAxisY);
    answer.Frame.Left = CommonTwain::DoubleToFix32(frame.left * x);
    answer.Frame.Top = CommonTwain::DoubleToFix32(frame.top * y);
    answer.Frame.Right = CommonTwain::DoubleToFix32(frame.right * x);
    answer.Frame.Bottom = CommonTwain::DoubleToFix32(frame.bottom * y);
    if (m_layoutSet) {
        answer.DocumentNumber = m_documentNumber;
        answer.PageNumber = m_pageNumber;
        answer.FrameNumber = m_frameNumber;
    } else {
        zylImageFile* const page = m_source.GetCurrentPageImage();
        answer.DocumentNumber = 1;
        answer.PageNumber =
            page != nullptr ? static_cast<TW_UINT32>(static_cast<TW_INT32>(page->GetCurrentPage()))
                            : 1;
        answer.FrameNumber = 1;
    }
    *layout = answer;
}

TW_UINT16 DataArg_ImageLayout::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    LayoutOf(pData);
    Answer(m_layoutSet ? m_frame : DefaultFrame(), pData);
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_ImageLayout::MsgGetDefault(pTW_IDENTITY, TW_MEMREF pData) {
    LayoutOf(pData);
    Answer(DefaultFrame(), pData);
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_ImageLayout::MsgReset(pTW_IDENTITY, TW_MEMREF) {
    m_layoutSet = false;
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_ImageLayout::MsgSet(pTW_IDENTITY, TW_MEMREF pData) {
    const TW_IMAGELAYOUT given = *LayoutOf(pData);
    const double x = UnitsPerInchOf(kAxisX);
    const double y = UnitsPerInchOf(kAxisY);
    if (!(x > 0.0) || !(y > 0.0)) {
        // Pixels of a page described without a resolution have no size.
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    Frame frame;
    frame.left = CommonTwain::Fix32ToDouble(given.Frame.Left) / x;
    frame.top = CommonTwain::Fix32ToDouble(given.Frame.Top) / y;
    frame.right = CommonTwain::Fix32ToDouble(given.Frame.Right) / x;
    frame.bottom = CommonTwain::Fix32ToDouble(given.Frame.Bottom) / y;
    m_frame = frame;
    m_documentNumber = given.DocumentNumber;
    m_pageNumber = given.PageNumber;
    m_frameNumber = given.FrameNumber;
    m_layoutSet = true;
    return TWRC_SUCCESS;
}

bool DataArg_ImageLayout::GetFrame(double& left, double& top, double& right, double& bottom) const {
    left = m_frame.left;
    top = m_frame.top;
    right = m_frame.right;
    bottom = m_frame.bottom;
    return m_layoutSet;
}
