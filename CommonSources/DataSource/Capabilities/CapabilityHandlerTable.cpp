#include "CapabilityHandlerTable.h"

#include "CustomCapabilities.h"
#include "TwainCapInfo_CAP_AUTOFEED.h"
#include "TwainCapInfo_CAP_DEVICEONLINE.h"
#include "TwainCapInfo_CAP_DUPLEX.h"
#include "TwainCapInfo_CAP_DUPLEXENABLED.h"
#include "TwainCapInfo_CAP_FEEDERENABLED.h"
#include "TwainCapInfo_CAP_FEEDERLOADED.h"
#include "TwainCapInfo_CAP_SUPPORTEDCAPS.h"
#include "TwainCapInfo_CAP_UICONTROLLABLE.h"
#include "TwainCapInfo_CAP_XFERCOUNT.h"
#include "TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION.h"
#include "TwainCapInfo_ICAP_BITDEPTH.h"
#include "TwainCapInfo_ICAP_BITORDER.h"
#include "TwainCapInfo_ICAP_COMPRESSION.h"
#include "TwainCapInfo_ICAP_IMAGEFILEFORMAT.h"
#include "TwainCapInfo_ICAP_ORIENTATION.h"
#include "TwainCapInfo_ICAP_PHYSICALHEIGHT.h"
#include "TwainCapInfo_ICAP_PHYSICALWIDTH.h"
#include "TwainCapInfo_ICAP_PIXELFLAVOR.h"
#include "TwainCapInfo_ICAP_PIXELTYPE.h"
#include "TwainCapInfo_ICAP_PLANARCHUNKY.h"
#include "TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE.h"
#include "TwainCapInfo_ICAP_UNITS.h"
#include "TwainCapInfo_ICAP_XFERMECH.h"
#include "TwainCapInfo_ICAP_XNATIVERESOLUTION.h"
#include "TwainCapInfo_ICAP_XRESOLUTION.h"
#include "TwainCapInfo_ICAP_YNATIVERESOLUTION.h"
#include "TwainCapInfo_ICAP_YRESOLUTION.h"
#include "TwainCapInfo_Unsupported.h"
#include "TwainCapInfo_zyl_CAP_ShowAcquireGUI.h"
#include "TwainCapInfo_zyl_CAP_SourceIpAddr_id.h"

namespace {

template <typename Handler>
void AddRow(std::vector<CapabilityHandlerTable::Row>& rows, std::vector<TW_UINT16> ids) {
    rows.push_back({std::move(ids), std::make_unique<Handler>()});
}

} // namespace

std::vector<CapabilityHandlerTable::Row> CapabilityHandlerTable::Build() {
    std::vector<Row> rows;
    AddRow<TwainCapInfo_CAP_DEVICEONLINE>(rows, {CAP_DEVICEONLINE});
    AddRow<TwainCapInfo_ICAP_XFERMECH>(rows, {ICAP_XFERMECH});
    AddRow<TwainCapInfo_ICAP_PIXELFLAVOR>(rows, {ICAP_PIXELFLAVOR});
    AddRow<TwainCapInfo_ICAP_PIXELTYPE>(rows, {ICAP_PIXELTYPE});
    AddRow<TwainCapInfo_ICAP_BITDEPTH>(rows, {ICAP_BITDEPTH});
    AddRow<TwainCapInfo_CAP_XFERCOUNT>(rows, {CAP_XFERCOUNT});
    AddRow<TwainCapInfo_ICAP_IMAGEFILEFORMAT>(rows, {ICAP_IMAGEFILEFORMAT});
    AddRow<TwainCapInfo_ICAP_COMPRESSION>(rows, {ICAP_COMPRESSION});
    AddRow<TwainCapInfo_ICAP_PLANARCHUNKY>(rows, {ICAP_PLANARCHUNKY});
    AddRow<TwainCapInfo_ICAP_BITORDER>(rows, {ICAP_BITORDER});
    AddRow<TwainCapInfo_ICAP_UNITS>(rows, {ICAP_UNITS});
    AddRow<TwainCapInfo_ICAP_XRESOLUTION>(rows, {ICAP_XRESOLUTION});
    AddRow<TwainCapInfo_ICAP_YRESOLUTION>(rows, {ICAP_YRESOLUTION});
    AddRow<TwainCapInfo_ICAP_PHYSICALHEIGHT>(rows, {ICAP_PHYSICALHEIGHT});
    AddRow<TwainCapInfo_ICAP_PHYSICALWIDTH>(rows, {ICAP_PHYSICALWIDTH});
    AddRow<TwainCapInfo_CAP_SUPPORTEDCAPS>(rows, {CAP_SUPPORTEDCAPS});
    AddRow<TwainCapInfo_CAP_UICONTROLLABLE>(rows, {CAP_UICONTROLLABLE});
    AddRow<TwainCapInfo_CAP_FEEDERENABLED>(rows, {CAP_FEEDERENABLED});
    AddRow<TwainCapInfo_ICAP_ORIENTATION>(rows, {ICAP_ORIENTATION});
    AddRow<TwainCapInfo_CAP_DUPLEX>(rows, {CAP_DUPLEX});
    AddRow<TwainCapInfo_CAP_DUPLEXENABLED>(rows, {CAP_DUPLEXENABLED});
    AddRow<TwainCapInfo_ICAP_XNATIVERESOLUTION>(rows, {ICAP_XNATIVERESOLUTION});
    AddRow<TwainCapInfo_ICAP_YNATIVERESOLUTION>(rows, {ICAP_YNATIVERESOLUTION});
    AddRow<TwainCapInfo_zyl_CAP_ShowAcquireGUI>(rows, {zyl_CAP_ShowAcquireGUI});
    AddRow<TwainCapInfo_zyl_CAP_SourceIpAddr_id>(rows, {zyl_CAP_SourceIpAddr_id});
    AddRow<TwainCapInfo_CAP_FEEDERLOADED>(rows, {CAP_FEEDERLOADED});
    AddRow<TwainCapInfo_CAP_AUTOFEED>(rows, {CAP_AUTOFEED});
    AddRow<TwainCapInfo_ICAP_UNDEFINEDIMAGESIZE>(rows, {ICAP_UNDEFINEDIMAGESIZE});
    AddRow<TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION>(rows, {ICAP_AUTOMATICBORDERDETECTION});
    AddRow<TwainCapInfo_Unsupported>(
        rows, {ICAP_AUTOBRIGHT, ICAP_BRIGHTNESS, ICAP_CONTRAST, ICAP_THRESHOLD});
    return rows;
}
