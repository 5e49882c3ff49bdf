#include "ServerCapabilityCases.h"

#include "ServerInfo.h"
#include "ServerList.h"
#include "SourceFixture.h"

#include <algorithm>

namespace {

constexpr TW_UINT16 ok = TWRC_SUCCESS;
constexpr TW_UINT16 failed = TWRC_FAILURE;
constexpr TW_UINT16 none = TWCC_SUCCESS;
constexpr TW_UINT16 kShowAcquireGUI = 0x8002;
constexpr TW_UINT16 kSourceAddress = 0x8001;

// The units every length and resolution is read and written in; pixels have no factor.
const TW_UINT16 kUnits[] = {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PICAS,
                            TWUN_POINTS, TWUN_TWIPS,       TWUN_PIXELS};
const char* const kUnitNames[] = {"inches", "centimetres", "picas", "points", "twips", "pixels"};
const double kUnitsPerInch[] = {1.0, 2.54, 6.0, 72.0, 1440.0};

// A resolution of dpi dots per inch as the application reads it: every one is 1.0 in pixels.
double ResolutionIn(double dpi, TW_UINT16 unit) {
    return unit == TWUN_PIXELS ? 1.0 : dpi / kUnitsPerInch[unit];
}

// Bit depth of the pixel types a server can offer: black and white, grey, colour.
TW_UINT16 DepthOf(TW_UINT32 pixelType) {
    static const TW_UINT16 kDepths[] = {1, 8, 24};
    return kDepths[pixelType];
}

template <typename T> TW_UINT32 LastIndexOf(const std::vector<T>& values, T value) {
    TW_UINT32 index = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] == value) {
            index = static_cast<TW_UINT32>(i);
        }
    }
    return index;
}

bool Has(const std::vector<TW_UINT32>& values, TW_UINT32 value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

CapContainer U16(TW_UINT32 value) {
    return OneValue(TWTY_UINT16, value);
}

CapContainer Bool(TW_UINT32 value) {
    return OneValue(TWTY_BOOL, value);
}

CapContainer Fix(TW_UINT32 item) {
    return OneValue(TWTY_FIX32, item);
}

CapAnswer Is16(TW_UINT32 value) {
    return OneValueAnswer(TWTY_UINT16, value);
}

CapAnswer List(std::vector<TW_UINT32> items, TW_UINT32 current, TW_UINT32 defaultIndex) {
    return UInt16Enumeration(std::move(items), current, defaultIndex);
}

class Table {
public:
    explicit Table(std::vector<CapCase>& cases) : m_cases(cases) {}
    void Add(const std::string& note, TW_UINT16 state, TW_UINT16 cap, TW_UINT16 msg,
             CapContainer given, TW_UINT16 rc, TW_UINT16 cc, CapAnswer answer = NoAnswer()) {
        m_cases.push_back({note, state, cap, msg, std::move(given), rc, cc, std::move(answer)});
    }
    // Expected to succeed in state 4.
    void Ok(const std::string& note, TW_UINT16 cap, TW_UINT16 msg, CapContainer given,
            CapAnswer answer = NoAnswer()) {
        Add(note, 4, cap, msg, std::move(given), ok, none, std::move(answer));
    }
    // Expected to fail in state 4.
    void Fails(const std::string& note, TW_UINT16 cap, TW_UINT16 msg, CapContainer given,
               TW_UINT16 cc) {
        Add(note, 4, cap, msg, std::move(given), failed, cc);
    }

private:
    std::vector<CapCase>& m_cases;
};

void AddPixelTypeCases(const ServerProfile& p, Table& t) {
    const std::vector<TW_UINT32>& types = p.pixelTypes;
    const TW_UINT32 at = LastIndexOf<TW_UINT32>(types, p.pixelType);
    t.Ok("the server's colour modes", ICAP_PIXELTYPE, MSG_GET, Empty(), List(types, at, at));
    t.Ok("chosen by the server", ICAP_PIXELTYPE, MSG_GETCURRENT, Empty(), Is16(p.pixelType));
    t.Ok("chosen by the server", ICAP_PIXELTYPE, MSG_GETDEFAULT, Empty(), Is16(p.pixelType));
    t.Fails("no palette", ICAP_PIXELTYPE, MSG_SET, U16(TWPT_PALETTE), TWCC_BADVALUE);
    TW_UINT16 current = p.pixelType;
    for (TW_UINT16 type : {TWPT_BW, TWPT_GRAY, TWPT_RGB}) {
        const std::string note = "pixel type " + std::to_string(type);
        if (!Has(types, type)) {
            t.Fails(note + " not offered", ICAP_PIXELTYPE, MSG_SET, U16(type), TWCC_BADVALUE);
            continue;
        }
        current = type;
        t.Ok(note, ICAP_PIXELTYPE, MSG_SET, U16(type));
        t.Ok(note, ICAP_PIXELTYPE, MSG_GETCURRENT, Empty(), Is16(type));
        t.Ok(note + ": its depth", ICAP_BITDEPTH, MSG_GET, Empty(), List({DepthOf(type)}, 0, 0));
        t.Ok(note + ": its depth", ICAP_BITDEPTH, MSG_GETCURRENT, Empty(), Is16(DepthOf(type)));
        t.Ok(note + ": its depth", ICAP_BITDEPTH, MSG_GETDEFAULT, Empty(), Is16(DepthOf(type)));
        const TW_UINT16 other = type == TWPT_RGB ? 8 : 24;
        t.Fails(note + ": no other depth", ICAP_BITDEPTH, MSG_SET, U16(other), TWCC_BADVALUE);
        t.Ok(note + ": its depth", ICAP_BITDEPTH, MSG_SET, U16(DepthOf(type)));
    }
    const std::vector<TW_UINT32> reversed(types.rbegin(), types.rend());
    t.Ok("narrowed", ICAP_PIXELTYPE, MSG_SET, Enumeration(TWTY_UINT16, reversed));
    t.Ok("narrowed", ICAP_PIXELTYPE, MSG_GET, Empty(),
         List(reversed, LastIndexOf<TW_UINT32>(reversed, current),
              LastIndexOf<TW_UINT32>(reversed, p.pixelType)));
    std::vector<TW_UINT32> withPalette = types;
    withPalette.push_back(TWPT_PALETTE);
    t.Fails("narrowed to what is not offered", ICAP_PIXELTYPE, MSG_SET,
            Enumeration(TWTY_UINT16, withPalette), TWCC_BADVALUE);
    t.Fails("enumeration of another type", ICAP_PIXELTYPE, MSG_SET,
            Enumeration(TWTY_UINT32, {TWPT_BW}), TWCC_BUMMER);
    t.Fails("array", ICAP_PIXELTYPE, MSG_SET, Array(TWTY_UINT16, {TWPT_BW}), TWCC_CAPUNSUPPORTED);
    t.Fails("range", ICAP_BITDEPTH, MSG_SET, Range(TWTY_UINT16), TWCC_CAPUNSUPPORTED);
    t.Ok("unchanged by the refusals", ICAP_PIXELTYPE, MSG_GET, Empty(),
         List(reversed, LastIndexOf<TW_UINT32>(reversed, current),
              LastIndexOf<TW_UINT32>(reversed, p.pixelType)));
    t.Add("enabled", 5, ICAP_PIXELTYPE, MSG_SET, U16(p.pixelType), failed, TWCC_SEQERROR);

    const TW_UINT16 reset = p.pixelTypeAfterReset;
    const TW_UINT32 resetAt = LastIndexOf<TW_UINT32>(types, reset);
    t.Ok("reset to an offered type", ICAP_PIXELTYPE, MSG_RESET, Empty(), Is16(reset));
    t.Ok("reset to an offered type", ICAP_PIXELTYPE, MSG_GET, Empty(),
         List(types, resetAt, resetAt));
    t.Ok("reset to an offered type", ICAP_PIXELTYPE, MSG_GETCURRENT, Empty(), Is16(reset));

    t.Ok("no depth allowed", ICAP_BITDEPTH, MSG_SET, Enumeration(TWTY_UINT16, {}));
    t.Ok("no depth allowed", ICAP_BITDEPTH, MSG_GET, Empty(), List({}, 0, 0));
    t.Ok("no depth allowed", ICAP_BITDEPTH, MSG_GETCURRENT, Empty(), Is16(DepthOf(reset)));
    t.Ok("depths reset", ICAP_BITDEPTH, MSG_RESET, Empty(), Is16(DepthOf(reset)));
    t.Ok("depths reset", ICAP_BITDEPTH, MSG_GET, Empty(), List({DepthOf(reset)}, 0, 0));
}

// Every unit-dependent capability with every message, in one unit.
void AddUnitCases(const ServerProfile& p, TW_UINT16 unit, Table& t) {
    const std::string in = std::string(" in ") + kUnitNames[unit];
    const bool pixels = unit == TWUN_PIXELS;
    t.Ok("units" + in, ICAP_UNITS, MSG_SET, U16(unit));
    t.Ok("units" + in, ICAP_UNITS, MSG_GETCURRENT, Empty(), Is16(unit));

    std::vector<TW_UINT32> listed;
    std::vector<double> read;
    for (double dpi : p.resolutions) {
        listed.push_back(Fix32Of(ResolutionIn(dpi, unit)));
        read.push_back(ResolutionIn(dpi, unit));
    }
    const TW_UINT32 start = Fix32Of(ResolutionIn(300.0, unit));
    // Indexes name the last value equal to 300 dpi (every value in pixels), else 0.
    const TW_UINT32 startAt = LastIndexOf<double>(read, ResolutionIn(300.0, unit));
    for (TW_UINT16 cap : {ICAP_XRESOLUTION, ICAP_YRESOLUTION}) {
        const std::string name = cap == ICAP_XRESOLUTION ? "x resolution" : "y resolution";
        t.Ok(name + in, cap, MSG_RESET, Empty(), Fix32Answer(start));
        t.Ok(name + in, cap, MSG_GET, Empty(), Fix32Enumeration(listed, startAt, startAt));
        t.Ok(name + in, cap, MSG_GETCURRENT, Empty(), Fix32Answer(start));
        t.Ok(name + in, cap, MSG_GETDEFAULT, Empty(), Fix32Answer(start));
        if (pixels) {
            // A value in pixels names no resolution.
            t.Fails(name + in, cap, MSG_SET, Fix(Fix32Of(1.0)), TWCC_BADVALUE);
            t.Fails(name + in, cap, MSG_SET, Fix(Fix32Of(300.0)), TWCC_BADVALUE);
            t.Ok(name + " unchanged" + in, cap, MSG_GETCURRENT, Empty(), Fix32Answer(start));
            continue;
        }
        // Every listed value, written back as it was read.
        TW_UINT32 current = start;
        for (TW_UINT32 item : listed) {
            t.Ok(name + " as listed" + in, cap, MSG_SET, Fix(item));
            t.Ok(name + " as listed" + in, cap, MSG_GETCURRENT, Empty(), Fix32Answer(item));
            current = item;
        }
        const TW_UINT32 unlisted = Fix32Of(ResolutionIn(250.0, unit));
        if (p.anyResolution) {
            t.Ok(name + " not listed" + in, cap, MSG_SET, Fix(unlisted));
            current = unlisted;
        } else {
            t.Fails(name + " not listed" + in, cap, MSG_SET, Fix(unlisted), TWCC_CAPUNSUPPORTED);
        }
        t.Ok(name + " not listed" + in, cap, MSG_GETCURRENT, Empty(), Fix32Answer(current));
        t.Fails(name + " of zero" + in, cap, MSG_SET, Fix(Fix32Item(0, 0)), TWCC_BADVALUE);
        t.Fails(name + " below zero" + in, cap, MSG_SET, Fix(Fix32Of(-ResolutionIn(300, unit))),
                TWCC_BADVALUE);
        t.Fails(name + " not a TW_FIX32" + in, cap, MSG_SET, U16(300), TWCC_BUMMER);
        t.Fails(name + " as a list" + in, cap, MSG_SET, Enumeration(TWTY_FIX32, {start}),
                TWCC_CAPUNSUPPORTED);
        t.Ok(name + " after the refusals" + in, cap, MSG_GETCURRENT, Empty(), Fix32Answer(current));
        t.Add(name + " enabled" + in, 5, cap, MSG_SET, Fix(start), failed, TWCC_SEQERROR);
        t.Ok(name + " reset" + in, cap, MSG_RESET, Empty(), Fix32Answer(start));
    }

    const TW_UINT32 native = Fix32Of(ResolutionIn(p.maxResolution, unit));
    for (TW_UINT16 cap : {ICAP_XNATIVERESOLUTION, ICAP_YNATIVERESOLUTION}) {
        const std::string name = "native resolution" + in;
        t.Ok(name, cap, MSG_GET, Empty(), Fix32Answer(native));
        t.Fails(name, cap, MSG_GETCURRENT, Empty(), TWCC_CAPBADOPERATION);
        t.Fails(name, cap, MSG_GETDEFAULT, Empty(), TWCC_CAPBADOPERATION);
        t.Fails(name, cap, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
        t.Fails(name, cap, MSG_SET, Fix(native), TWCC_CAPBADOPERATION);
    }

    // The platen, 17 x 11 inches; in pixels at the largest resolution.
    for (TW_UINT16 cap : {ICAP_PHYSICALWIDTH, ICAP_PHYSICALHEIGHT}) {
        const double inches = cap == ICAP_PHYSICALWIDTH ? 17.0 : 11.0;
        const TW_UINT32 size =
            Fix32Of(pixels ? inches * p.maxResolution : inches * kUnitsPerInch[unit]);
        const std::string name = (cap == ICAP_PHYSICALWIDTH ? "width" : "height") + in;
        t.Ok(name, cap, MSG_GET, Empty(), Fix32Answer(size));
        t.Ok(name, cap, MSG_GETCURRENT, Empty(), Fix32Answer(size));
        t.Ok(name, cap, MSG_GETDEFAULT, Empty(), Fix32Answer(size));
        t.Fails(name, cap, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
        t.Fails(name, cap, MSG_SET, Fix(size), TWCC_CAPBADOPERATION);
        t.Add(name, 5, cap, MSG_SET, Fix(size), failed, TWCC_SEQERROR);
    }
}

void AddUnitsCases(const ServerProfile& p, Table& t) {
    const std::vector<TW_UINT32> all = {0, 1, 2, 3, 4, 5};
    t.Ok("units", ICAP_UNITS, MSG_GET, Empty(), List(all, 0, 0));
    t.Ok("units", ICAP_UNITS, MSG_GETDEFAULT, Empty(), Is16(TWUN_INCHES));
    for (TW_UINT16 unit : kUnits) {
        AddUnitCases(p, unit, t);
    }
    t.Fails("no such unit", ICAP_UNITS, MSG_SET, U16(6), TWCC_BADVALUE);
    t.Ok("no such unit", ICAP_UNITS, MSG_GETCURRENT, Empty(), Is16(TWUN_PIXELS));
    t.Fails("list of no such unit", ICAP_UNITS, MSG_SET, Enumeration(TWTY_UINT16, {1, 6}),
            TWCC_BADVALUE);
    t.Ok("narrowed", ICAP_UNITS, MSG_SET, Enumeration(TWTY_UINT16, {2, 1}));
    t.Ok("narrowed, ascending", ICAP_UNITS, MSG_GET, Empty(), List({1, 2}, 0, 0));
    t.Ok("narrowed", ICAP_UNITS, MSG_GETCURRENT, Empty(), Is16(TWUN_PIXELS));
    t.Ok("supported though not allowed", ICAP_UNITS, MSG_SET, U16(TWUN_TWIPS));
    t.Ok("supported though not allowed", ICAP_UNITS, MSG_GETCURRENT, Empty(), Is16(TWUN_TWIPS));
    t.Add("enabled", 5, ICAP_UNITS, MSG_SET, U16(TWUN_INCHES), failed, TWCC_SEQERROR);
    t.Ok("reset", ICAP_UNITS, MSG_RESET, Empty(), Is16(TWUN_INCHES));
    t.Ok("reset", ICAP_UNITS, MSG_GET, Empty(), List(all, 0, 0));
}

void AddLayoutCases(Table& t) {
    t.Ok("chunky", ICAP_PLANARCHUNKY, MSG_GET, Empty(), List({TWPC_CHUNKY}, 0, 0));
    t.Ok("chunky", ICAP_PLANARCHUNKY, MSG_GETCURRENT, Empty(), Is16(TWPC_CHUNKY));
    t.Ok("chunky", ICAP_PLANARCHUNKY, MSG_GETDEFAULT, Empty(), Is16(TWPC_CHUNKY));
    t.Fails("chunky", ICAP_PLANARCHUNKY, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("chunky", ICAP_PLANARCHUNKY, MSG_SET, U16(TWPC_CHUNKY), TWCC_CAPBADOPERATION);
    t.Ok("msb first", ICAP_BITORDER, MSG_GET, Empty(), List({TWBO_MSBFIRST}, 0, 0));
    t.Ok("msb first", ICAP_BITORDER, MSG_GETCURRENT, Empty(), Is16(TWBO_MSBFIRST));
    t.Ok("msb first", ICAP_BITORDER, MSG_GETDEFAULT, Empty(), Is16(TWBO_MSBFIRST));
    t.Fails("msb first", ICAP_BITORDER, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
    t.Add("msb first", 5, ICAP_BITORDER, MSG_SET, U16(TWBO_MSBFIRST), failed, TWCC_SEQERROR);
}

void AddDeviceCases(const ServerProfile& p, Table& t) {
    t.Ok("online", CAP_DEVICEONLINE, MSG_GET, Empty(), BoolAnswer(TRUE));
    t.Ok("online", CAP_DEVICEONLINE, MSG_GETCURRENT, Empty(), BoolAnswer(TRUE));
    t.Ok("online", CAP_DEVICEONLINE, MSG_GETDEFAULT, Empty(), BoolAnswer(TRUE));
    t.Fails("online", CAP_DEVICEONLINE, MSG_SET, Bool(FALSE), TWCC_CAPBADOPERATION);
    t.Fails("online", CAP_DEVICEONLINE, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
    t.Ok("controllable", CAP_UICONTROLLABLE, MSG_GET, Empty(), BoolAnswer(TRUE));
    t.Ok("controllable", CAP_UICONTROLLABLE, MSG_GETCURRENT, Empty(), BoolAnswer(TRUE));
    t.Ok("controllable", CAP_UICONTROLLABLE, MSG_GETDEFAULT, Empty(), BoolAnswer(TRUE));
    t.Fails("controllable", CAP_UICONTROLLABLE, MSG_SET, Bool(FALSE), TWCC_CAPBADOPERATION);

    // CAP_DUPLEX says whether there is a feeder.
    t.Ok("duplex", CAP_DUPLEX, MSG_GET, Empty(), BoolAnswer(p.feeder));
    t.Fails("duplex", CAP_DUPLEX, MSG_GETCURRENT, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("duplex", CAP_DUPLEX, MSG_GETDEFAULT, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("duplex", CAP_DUPLEX, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("duplex", CAP_DUPLEX, MSG_SET, Bool(TRUE), TWCC_CAPBADOPERATION);
    t.Ok("duplex enabled", CAP_DUPLEXENABLED, MSG_GET, Empty(), BoolAnswer(FALSE));
    t.Ok("duplex enabled", CAP_DUPLEXENABLED, MSG_SET, Bool(TRUE));
    t.Ok("duplex enabled", CAP_DUPLEXENABLED, MSG_GET, Empty(), BoolAnswer(TRUE));
    t.Ok("duplex enabled", CAP_DUPLEXENABLED, MSG_GETCURRENT, Empty(), BoolAnswer(TRUE));
    t.Fails("duplex enabled", CAP_DUPLEXENABLED, MSG_GETDEFAULT, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("duplex enabled", CAP_DUPLEXENABLED, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
    t.Add("duplex enabled", 5, CAP_DUPLEXENABLED, MSG_SET, Bool(FALSE), failed, TWCC_SEQERROR);
    t.Add("duplex enabled", 6, CAP_DUPLEXENABLED, MSG_GET, Empty(), ok, none, BoolAnswer(TRUE));

    if (p.feeder) {
        t.Ok("feeder", CAP_FEEDERENABLED, MSG_GET, Empty(), BoolAnswer(FALSE));
        t.Ok("feeder", CAP_FEEDERENABLED, MSG_GETCURRENT, Empty(), BoolAnswer(FALSE));
        t.Ok("feeder", CAP_FEEDERENABLED, MSG_GETDEFAULT, Empty(), BoolAnswer(FALSE));
        t.Fails("feeder not in use", CAP_FEEDERLOADED, MSG_GET, Empty(), TWCC_CAPUNSUPPORTED);
        t.Ok("feeder", CAP_AUTOFEED, MSG_GET, Empty(), BoolAnswer(TRUE));
        t.Ok("feeder", CAP_AUTOFEED, MSG_GETCURRENT, Empty(), BoolAnswer(TRUE));
        t.Ok("feeder in use", CAP_FEEDERENABLED, MSG_SET, Bool(TRUE));
        t.Ok("feeder in use", CAP_FEEDERENABLED, MSG_GET, Empty(), BoolAnswer(TRUE));
        t.Ok("feeder in use", CAP_FEEDERLOADED, MSG_GET, Empty(), BoolAnswer(TRUE));
        t.Ok("feeder in use", CAP_FEEDERLOADED, MSG_GETDEFAULT, Empty(), BoolAnswer(TRUE));
        t.Fails("feeder in use", CAP_FEEDERENABLED, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
    } else {
        // No feeder is a wrong value to ask about, not an unknown capability.
        t.Fails("no feeder", CAP_FEEDERENABLED, MSG_GET, Empty(), TWCC_BADVALUE);
        t.Fails("no feeder", CAP_FEEDERENABLED, MSG_GETCURRENT, Empty(), TWCC_BADVALUE);
        t.Fails("no feeder", CAP_FEEDERENABLED, MSG_SET, Bool(TRUE), TWCC_BADVALUE);
        t.Fails("no feeder", CAP_FEEDERLOADED, MSG_GET, Empty(), TWCC_CAPUNSUPPORTED);
        t.Fails("no feeder", CAP_AUTOFEED, MSG_GET, Empty(), TWCC_CAPUNSUPPORTED);
        t.Fails("no feeder", CAP_AUTOFEED, MSG_GETDEFAULT, Empty(), TWCC_CAPUNSUPPORTED);
    }

    t.Ok("defined size", ICAP_UNDEFINEDIMAGESIZE, MSG_GET, Empty(), BoolAnswer(FALSE));
    t.Ok("defined size", ICAP_UNDEFINEDIMAGESIZE, MSG_GETCURRENT, Empty(), BoolAnswer(FALSE));
    t.Fails("defined size", ICAP_UNDEFINEDIMAGESIZE, MSG_GETDEFAULT, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("defined size", ICAP_AUTOMATICBORDERDETECTION, MSG_GET, Empty(), TWCC_CAPUNSUPPORTED);
    t.Fails("defined size", ICAP_AUTOMATICBORDERDETECTION, MSG_SET, Bool(TRUE),
            TWCC_CAPUNSUPPORTED);
    t.Ok("undefined size", ICAP_UNDEFINEDIMAGESIZE, MSG_SET, Bool(TRUE));
    t.Ok("undefined size", ICAP_UNDEFINEDIMAGESIZE, MSG_GET, Empty(), BoolAnswer(TRUE));
    t.Ok("undefined size", ICAP_AUTOMATICBORDERDETECTION, MSG_GET, Empty(), BoolAnswer(FALSE));
    t.Fails("undefined size", ICAP_AUTOMATICBORDERDETECTION, MSG_GETDEFAULT, Empty(),
            TWCC_CAPBADOPERATION);
    if (p.autoPageSize) {
        t.Ok("borders found", ICAP_AUTOMATICBORDERDETECTION, MSG_SET, Bool(TRUE));
    } else {
        t.Fails("no automatic size", ICAP_AUTOMATICBORDERDETECTION, MSG_SET, Bool(TRUE),
                TWCC_CAPUNSUPPORTED);
    }
    t.Ok("undefined size", ICAP_AUTOMATICBORDERDETECTION, MSG_GETCURRENT, Empty(),
         BoolAnswer(p.autoPageSize));

    // The list answered is the server's, whatever the application narrowed.
    const std::vector<TW_UINT32>& offered = p.orientations;
    const TW_UINT32 at = LastIndexOf<TW_UINT32>(offered, p.orientation);
    t.Ok("orientation", ICAP_ORIENTATION, MSG_GET, Empty(), List(offered, at, at));
    t.Ok("orientation", ICAP_ORIENTATION, MSG_GETCURRENT, Empty(), Is16(p.orientation));
    t.Ok("orientation", ICAP_ORIENTATION, MSG_GETDEFAULT, Empty(), Is16(p.orientation));
    t.Fails("rotated 90", ICAP_ORIENTATION, MSG_SET, U16(TWOR_ROT90), TWCC_CAPUNSUPPORTED);
    t.Fails("nothing offered", ICAP_ORIENTATION, MSG_SET,
            Enumeration(TWTY_UINT16, {TWOR_ROT90, TWOR_ROT180}), TWCC_CAPUNSUPPORTED);
    t.Fails("enumeration of another type", ICAP_ORIENTATION, MSG_SET,
            Enumeration(TWTY_INT16, {TWOR_PORTRAIT}), TWCC_BUMMER);
    TW_UINT16 current = p.orientation;
    for (TW_UINT32 orientation : offered) {
        t.Ok("orientation " + std::to_string(orientation), ICAP_ORIENTATION, MSG_SET,
             U16(orientation));
        t.Ok("orientation " + std::to_string(orientation), ICAP_ORIENTATION, MSG_GETCURRENT,
             Empty(), Is16(orientation));
        current = static_cast<TW_UINT16>(orientation);
    }
    if (!offered.empty()) {
        t.Ok("narrowed", ICAP_ORIENTATION, MSG_SET,
             Enumeration(TWTY_UINT16, {TWOR_ROT90, offered.front()}));
    }
    const TW_UINT32 currentAt = LastIndexOf<TW_UINT32>(offered, current);
    t.Ok("reset changes nothing", ICAP_ORIENTATION, MSG_RESET, Empty(), Is16(current));
    t.Ok("the server's list", ICAP_ORIENTATION, MSG_GET, Empty(),
         List(offered, currentAt, currentAt));
    t.Add("enabled", 5, ICAP_ORIENTATION, MSG_SET, U16(current), failed, TWCC_SEQERROR);
}

void AddCustomCases(const ServerProfile& p, Table& t) {
    t.Ok("acquire offered", kShowAcquireGUI, MSG_GET, Empty(), BoolAnswer(TRUE));
    t.Ok("acquire offered", kShowAcquireGUI, MSG_GETCURRENT, Empty(), BoolAnswer(TRUE));
    t.Fails("acquire offered", kShowAcquireGUI, MSG_GETDEFAULT, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("acquire offered", kShowAcquireGUI, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
    t.Ok("send only", kShowAcquireGUI, MSG_SET, Bool(FALSE));
    t.Ok("send only", kShowAcquireGUI, MSG_GET, Empty(), BoolAnswer(FALSE));
    t.Add("enabled", 5, kShowAcquireGUI, MSG_SET, Bool(TRUE), failed, TWCC_SEQERROR);
    t.Ok("send only", kShowAcquireGUI, MSG_GETCURRENT, Empty(), BoolAnswer(FALSE));
    t.Ok("any value", kShowAcquireGUI, MSG_SET, OneValue(TWTY_UINT16, 7));
    t.Ok("any value", kShowAcquireGUI, MSG_GET, Empty(), BoolAnswer(7));

    t.Ok("server address", kSourceAddress, MSG_GET, Empty(), TextAnswer(p.address));
    t.Ok("server address", kSourceAddress, MSG_GETCURRENT, Empty(), TextAnswer(p.address));
    t.Fails("server address", kSourceAddress, MSG_GETDEFAULT, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("server address", kSourceAddress, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
    t.Fails("server address", kSourceAddress, MSG_SET, OneValue(TWTY_STR255, 0),
            TWCC_CAPBADOPERATION);
}

void AddSupportedCapsCases(const ServerProfile& p, Table& t) {
    // After the device rows: the feeder is in use where there is one, and the application
    // takes pages of any size.
    std::vector<TW_UINT32> served = {
        CAP_XFERCOUNT,          CAP_SUPPORTEDCAPS,      CAP_UICONTROLLABLE, ICAP_COMPRESSION,
        ICAP_PLANARCHUNKY,      ICAP_PHYSICALHEIGHT,    ICAP_PHYSICALWIDTH, ICAP_PIXELFLAVOR,
        ICAP_BITDEPTH,          ICAP_BITORDER,          ICAP_PIXELTYPE,     ICAP_UNITS,
        ICAP_XFERMECH,          ICAP_XRESOLUTION,       ICAP_YRESOLUTION,   ICAP_IMAGEFILEFORMAT,
        ICAP_XNATIVERESOLUTION, ICAP_YNATIVERESOLUTION, CAP_DUPLEX,         CAP_DUPLEXENABLED,
        CAP_DEVICEONLINE};
    if (p.feeder) {
        served.insert(served.end(), {CAP_FEEDERENABLED, CAP_FEEDERLOADED, CAP_AUTOFEED});
    }
    served.insert(served.end(), {ICAP_ORIENTATION, ICAP_UNDEFINEDIMAGESIZE,
                                 ICAP_AUTOMATICBORDERDETECTION, kSourceAddress, kShowAcquireGUI});
    t.Ok("served", CAP_SUPPORTEDCAPS, MSG_GET, Empty(), UInt16ArrayAnswer(served));
    t.Ok("served", CAP_SUPPORTEDCAPS, MSG_GETCURRENT, Empty(), UInt16ArrayAnswer(served));
    t.Ok("served", CAP_SUPPORTEDCAPS, MSG_GETDEFAULT, Empty(), UInt16ArrayAnswer(served));
    t.Fails("served", CAP_SUPPORTEDCAPS, MSG_SET, U16(0), TWCC_CAPBADOPERATION);
    t.Fails("served", CAP_SUPPORTEDCAPS, MSG_RESET, Empty(), TWCC_CAPBADOPERATION);
}

} // namespace

std::vector<ServerProfile> ServerProfiles() {
    std::vector<ServerProfile> profiles;
    profiles.push_back({"default",
                        "127.0.0.1",
                        {TWPT_RGB, TWPT_GRAY, TWPT_BW},
                        TWPT_RGB,
                        TWPT_RGB,
                        {100, 200, 300, 400, 500, 600},
                        600,
                        true,
                        true,
                        {TWOR_PORTRAIT, TWOR_LANDSCAPE},
                        TWOR_PORTRAIT,
                        true});
    profiles.push_back({"caps-bw",
                        "caps-bw",
                        {TWPT_BW},
                        TWPT_BW,
                        TWPT_BW,
                        {200, 300, 600},
                        600,
                        false,
                        false,
                        {},
                        TWOR_PORTRAIT,
                        false});
    // Colour is current although the copier calls itself black and white; black and white is
    // not offered, so no reset may choose it.
    profiles.push_back({"caps-bw-lists-color",
                        "caps-bw-lists-color",
                        {TWPT_GRAY, TWPT_RGB},
                        TWPT_RGB,
                        TWPT_RGB,
                        {100, 400, 700, 1000},
                        1000,
                        true,
                        false,
                        {},
                        TWOR_PORTRAIT,
                        false});
    // 2400 dpi makes the platen wider than a TW_FIX32 holds in pixels.
    profiles.push_back({"caps-feeder-landscape",
                        "caps-feeder-landscape",
                        {TWPT_GRAY, TWPT_GRAY, TWPT_RGB},
                        TWPT_GRAY,
                        TWPT_GRAY,
                        {2400, 150.5, 75},
                        2400,
                        false,
                        true,
                        {TWOR_LANDSCAPE},
                        TWOR_LANDSCAPE,
                        false});
    return profiles;
}

void ChooseServerForNextOpen(const ServerProfile& profile) {
    CommonCpp::XGPreferences store("Halcyra", "Nimbrel", "5",
                                   CommonCpp::XGPreferences::ScopeCurrentUser);
    ServerList servers;
    servers.Add(new ServerInfo(false, profile.server, profile.address, "", false));
    servers.Save(store);
}

std::vector<CapCase> ServerCapabilityCases(const ServerProfile& profile) {
    std::vector<CapCase> cases;
    Table table(cases);
    AddPixelTypeCases(profile, table);
    AddUnitsCases(profile, table);
    AddLayoutCases(table);
    AddDeviceCases(profile, table);
    AddCustomCases(profile, table);
    AddSupportedCapsCases(profile, table);
    return cases;
}
