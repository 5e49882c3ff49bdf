#include "CapabilityHandlerTable.h"

#include "TwainCapInfo_CAP_XFERCOUNT.h"
#include "TwainCapInfo_ICAP_COMPRESSION.h"
#include "TwainCapInfo_ICAP_IMAGEFILEFORMAT.h"
#include "TwainCapInfo_ICAP_PIXELFLAVOR.h"
#include "TwainCapInfo_ICAP_XFERMECH.h"
#include "TwainCapInfo_Unsupported.h"

namespace {

template <typename Handler>
void AddRow(std::vector<CapabilityHandlerTable::Row>& rows, std::vector<TW_UINT16> ids) {
    rows.push_back({std::move(ids), std::make_unique<Handler>()});
}

} // namespace

std::vector<CapabilityHandlerTable::Row> CapabilityHandlerTable::Build() {
    std::vector<Row> rows;
    AddRow<TwainCapInfo_ICAP_XFERMECH>(rows, {ICAP_XFERMECH});
    AddRow<TwainCapInfo_ICAP_PIXELFLAVOR>(rows, {ICAP_PIXELFLAVOR});
    AddRow<TwainCapInfo_CAP_XFERCOUNT>(rows, {CAP_XFERCOUNT});
    AddRow<TwainCapInfo_ICAP_IMAGEFILEFORMAT>(rows, {ICAP_IMAGEFILEFORMAT});
    AddRow<TwainCapInfo_ICAP_COMPRESSION>(rows, {ICAP_COMPRESSION});
    AddRow<TwainCapInfo_Unsupported>(
        rows, {ICAP_AUTOBRIGHT, ICAP_BRIGHTNESS, ICAP_CONTRAST, ICAP_THRESHOLD});
    return rows;
}
