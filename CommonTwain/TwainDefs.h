#pragma once
// The project's own TWAIN 1.x definitions: the published constant values and records the
// data source and the scan application exchange with TWAIN applications and the source
// manager. Records are packed on 2-byte boundaries, as every TWAIN peer lays them out.

#include <windows.h>

#include <cstddef>

// ---------------------------------------------------------------------------------------------
// Basic types (32-bit Windows)

typedef char TW_INT8;
typedef short TW_INT16;
typedef long TW_INT32;
typedef unsigned char TW_UINT8;
typedef unsigned short TW_UINT16;
typedef unsigned long TW_UINT32;
typedef unsigned char TW_UCHAR;
typedef unsigned short TW_BOOL;
typedef HANDLE TW_HANDLE;
typedef LPVOID TW_MEMREF;

typedef char TW_STR32[34];
typedef char TW_STR64[66];
typedef char TW_STR128[130];
typedef char TW_STR255[256];

// ---------------------------------------------------------------------------------------------
// Records

#pragma pack(push, 2)

struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
};
typedef TW_FIX32* pTW_FIX32;

struct TW_FRAME {
    TW_FIX32 Left;
    TW_FIX32 Top;
    TW_FIX32 Right;
    TW_FIX32 Bottom;
};
typedef TW_FRAME* pTW_FRAME;

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};
typedef TW_VERSION* pTW_VERSION;

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};
typedef TW_IDENTITY* pTW_IDENTITY;

// Containers: ItemList is a one-item placeholder; the items follow the header in the block.
struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
};
typedef TW_ONEVALUE* pTW_ONEVALUE;

struct TW_ENUMERATION {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT32 CurrentIndex;
    TW_UINT32 DefaultIndex;
    TW_UINT8 ItemList[1];
};
typedef TW_ENUMERATION* pTW_ENUMERATION;

struct TW_ARRAY {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT8 ItemList[1];
};
typedef TW_ARRAY* pTW_ARRAY;

struct TW_RANGE {
    TW_UINT16 ItemType;
    TW_UINT32 MinValue;
    TW_UINT32 MaxValue;
    TW_UINT32 StepSize;
    TW_UINT32 DefaultValue;
    TW_UINT32 CurrentValue;
};
typedef TW_RANGE* pTW_RANGE;

struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
};
typedef TW_CAPABILITY* pTW_CAPABILITY;

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};
typedef TW_USERINTERFACE* pTW_USERINTERFACE;

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};
typedef TW_STATUS* pTW_STATUS;

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 Reserved;
};
typedef TW_PENDINGXFERS* pTW_PENDINGXFERS;

struct TW_SETUPMEMXFER {
    TW_UINT32 MinBufSize;
    TW_UINT32 MaxBufSize;
    TW_UINT32 Preferred;
};
typedef TW_SETUPMEMXFER* pTW_SETUPMEMXFER;

struct TW_SETUPFILEXFER {
    TW_STR255 FileName;
    TW_UINT16 Format;
    TW_INT16 VRefNum;
};
typedef TW_SETUPFILEXFER* pTW_SETUPFILEXFER;

struct TW_IMAGEINFO {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};
typedef TW_IMAGEINFO* pTW_IMAGEINFO;

struct TW_IMAGELAYOUT {
    TW_FRAME Frame;
    TW_UINT32 DocumentNumber;
    TW_UINT32 PageNumber;
    TW_UINT32 FrameNumber;
};
typedef TW_IMAGELAYOUT* pTW_IMAGELAYOUT;

struct TW_MEMORY {
    TW_UINT32 Flags;
    TW_UINT32 Length;
    TW_MEMREF TheMem;
};
typedef TW_MEMORY* pTW_MEMORY;

struct TW_IMAGEMEMXFER {
    TW_UINT16 Compression;
    TW_UINT32 BytesPerRow;
    TW_UINT32 Columns;
    TW_UINT32 Rows;
    TW_UINT32 XOffset;
    TW_UINT32 YOffset;
    TW_UINT32 BytesWritten;
    TW_MEMORY Memory;
};
typedef TW_IMAGEMEMXFER* pTW_IMAGEMEMXFER;

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};
typedef TW_EVENT* pTW_EVENT;

struct TW_CUSTOMDSDATA {
    TW_UINT32 InfoLength;
    TW_HANDLE hData;
};
typedef TW_CUSTOMDSDATA* pTW_CUSTOMDSDATA;

struct TW_FILESYSTEM {
    TW_STR255 InputName;
    TW_STR255 OutputName;
    TW_MEMREF Context;
    union {
        TW_INT32 Recursive;
        TW_BOOL Subdirectories;
    };
    union {
        TW_INT32 FileType;
        TW_UINT32 FileSystemType;
    };
    TW_UINT32 Size;
    TW_STR32 CreateTimeDate;
    TW_STR32 ModifiedTimeDate;
    TW_UINT32 FreeSpace;
    TW_INT32 NewImageSize;
    TW_UINT32 NumberOfFiles;
    TW_UINT32 NumberOfSnippets;
    TW_UINT32 DeviceGroupMask;
    TW_INT8 Reserved[508];
};
typedef TW_FILESYSTEM* pTW_FILESYSTEM;

#pragma pack(pop)

// Every peer relies on these exact sizes and offsets.
static_assert(sizeof(TW_STR32) == 34 && sizeof(TW_STR64) == 66 && sizeof(TW_STR128) == 130 &&
              sizeof(TW_STR255) == 256);
static_assert(sizeof(TW_HANDLE) == sizeof(void*) && sizeof(TW_MEMREF) == sizeof(void*));
static_assert(sizeof(TW_INT32) == 4 && sizeof(TW_UINT32) == 4);
static_assert(sizeof(TW_FIX32) == 4);
static_assert(offsetof(TW_FIX32, Frac) == 2);
static_assert(sizeof(TW_FRAME) == 16);
static_assert(sizeof(TW_VERSION) == 42);
static_assert(offsetof(TW_VERSION, Info) == 8);
static_assert(sizeof(TW_IDENTITY) == 156);
static_assert(offsetof(TW_IDENTITY, Version) == 4);
static_assert(offsetof(TW_IDENTITY, ProtocolMajor) == 46);
static_assert(offsetof(TW_IDENTITY, SupportedGroups) == 50);
static_assert(offsetof(TW_IDENTITY, Manufacturer) == 54);
static_assert(offsetof(TW_IDENTITY, ProductFamily) == 88);
static_assert(offsetof(TW_IDENTITY, ProductName) == 122);
static_assert(sizeof(TW_ONEVALUE) == 6);
static_assert(offsetof(TW_ONEVALUE, Item) == 2);
static_assert(sizeof(TW_ENUMERATION) == 16);
static_assert(offsetof(TW_ENUMERATION, NumItems) == 2);
static_assert(offsetof(TW_ENUMERATION, CurrentIndex) == 6);
static_assert(offsetof(TW_ENUMERATION, DefaultIndex) == 10);
static_assert(offsetof(TW_ENUMERATION, ItemList) == 14);
static_assert(sizeof(TW_ARRAY) == 8);
static_assert(offsetof(TW_ARRAY, NumItems) == 2);
static_assert(offsetof(TW_ARRAY, ItemList) == 6);
static_assert(sizeof(TW_RANGE) == 22);
static_assert(offsetof(TW_RANGE, CurrentValue) == 18);
static_assert(offsetof(TW_CAPABILITY, ConType) == 2);
static_assert(offsetof(TW_CAPABILITY, hContainer) == 4);
static_assert(offsetof(TW_USERINTERFACE, hParent) == 4);
static_assert(sizeof(TW_STATUS) == 4);
static_assert(sizeof(TW_PENDINGXFERS) == 6);
static_assert(offsetof(TW_PENDINGXFERS, Reserved) == 2);
static_assert(sizeof(TW_SETUPMEMXFER) == 12);
static_assert(sizeof(TW_SETUPFILEXFER) == 260);
static_assert(offsetof(TW_SETUPFILEXFER, Format) == 256);
static_assert(offsetof(TW_SETUPFILEXFER, VRefNum) == 258);
static_assert(sizeof(TW_IMAGEINFO) == 42);
static_assert(offsetof(TW_IMAGEINFO, ImageWidth) == 8);
static_assert(offsetof(TW_IMAGEINFO, SamplesPerPixel) == 16);
static_assert(offsetof(TW_IMAGEINFO, BitsPerSample) == 18);
static_assert(offsetof(TW_IMAGEINFO, BitsPerPixel) == 34);
static_assert(offsetof(TW_IMAGEINFO, Planar) == 36);
static_assert(offsetof(TW_IMAGEINFO, PixelType) == 38);
static_assert(offsetof(TW_IMAGEINFO, Compression) == 40);
static_assert(sizeof(TW_IMAGELAYOUT) == 28);
static_assert(offsetof(TW_IMAGELAYOUT, DocumentNumber) == 16);
static_assert(offsetof(TW_IMAGEMEMXFER, BytesPerRow) == 2);
static_assert(offsetof(TW_IMAGEMEMXFER, BytesWritten) == 22);
static_assert(offsetof(TW_IMAGEMEMXFER, Memory) == 26);
static_assert(offsetof(TW_FILESYSTEM, Context) == 512);
// Records that hold a handle or a memory reference grow with the pointer on 64-bit Windows.
#ifdef _WIN64
static_assert(sizeof(TW_CAPABILITY) == 12);
static_assert(sizeof(TW_USERINTERFACE) == 12);
static_assert(sizeof(TW_MEMORY) == 16);
static_assert(sizeof(TW_IMAGEMEMXFER) == 42);
static_assert(sizeof(TW_EVENT) == 10);
static_assert(offsetof(TW_EVENT, TWMessage) == 8);
static_assert(sizeof(TW_CUSTOMDSDATA) == 12);
static_assert(sizeof(TW_FILESYSTEM) == 1128);
static_assert(offsetof(TW_FILESYSTEM, Recursive) == 520);
static_assert(offsetof(TW_FILESYSTEM, FileType) == 524);
static_assert(offsetof(TW_FILESYSTEM, Size) == 528);
static_assert(offsetof(TW_FILESYSTEM, CreateTimeDate) == 532);
static_assert(offsetof(TW_FILESYSTEM, ModifiedTimeDate) == 566);
static_assert(offsetof(TW_FILESYSTEM, FreeSpace) == 600);
static_assert(offsetof(TW_FILESYSTEM, Reserved) == 620);
#else
static_assert(sizeof(TW_CAPABILITY) == 8);
static_assert(sizeof(TW_USERINTERFACE) == 8);
static_assert(sizeof(TW_MEMORY) == 12);
static_assert(sizeof(TW_IMAGEMEMXFER) == 38);
static_assert(sizeof(TW_EVENT) == 6);
static_assert(offsetof(TW_EVENT, TWMessage) == 4);
static_assert(sizeof(TW_CUSTOMDSDATA) == 8);
static_assert(sizeof(TW_FILESYSTEM) == 1124);
static_assert(offsetof(TW_FILESYSTEM, Recursive) == 516);
static_assert(offsetof(TW_FILESYSTEM, FileType) == 520);
static_assert(offsetof(TW_FILESYSTEM, Size) == 524);
static_assert(offsetof(TW_FILESYSTEM, CreateTimeDate) == 528);
static_assert(offsetof(TW_FILESYSTEM, ModifiedTimeDate) == 562);
static_assert(offsetof(TW_FILESYSTEM, FreeSpace) == 596);
static_assert(offsetof(TW_FILESYSTEM, Reserved) == 616);
#endif

// ---------------------------------------------------------------------------------------------
// Entry points (stdcall on 32-bit Windows; the one calling convention on 64-bit)

typedef TW_UINT16(WINAPI* DSMENTRYPROC)(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest, TW_UINT32 dg,
                                        TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF pData);
typedef TW_UINT16(WINAPI* DSENTRYPROC)(pTW_IDENTITY pOrigin, TW_UINT32 dg, TW_UINT16 dat,
                                       TW_UINT16 msg, TW_MEMREF pData);

// ---------------------------------------------------------------------------------------------
// Protocol version

constexpr TW_UINT16 TWON_PROTOCOLMINOR = 8;
constexpr TW_UINT16 TWON_PROTOCOLMAJOR = 1;

// ---------------------------------------------------------------------------------------------
// Container types

constexpr TW_UINT16 TWON_ARRAY = 3;
constexpr TW_UINT16 TWON_ENUMERATION = 4;
constexpr TW_UINT16 TWON_ONEVALUE = 5;
constexpr TW_UINT16 TWON_RANGE = 6;
constexpr TW_UINT16 TWON_ICONID = 962;
constexpr TW_UINT16 TWON_DSMID = 461;
constexpr TW_UINT16 TWON_DSMCODEID = 63;

constexpr TW_UINT8 TWON_DONTCARE8 = 0xff;
constexpr TW_UINT16 TWON_DONTCARE16 = 0xffff;
constexpr TW_UINT32 TWON_DONTCARE32 = 0xffffffff;

// Memory flags of TW_MEMORY
constexpr TW_UINT32 TWMF_APPOWNS = 0x0001;
constexpr TW_UINT32 TWMF_DSMOWNS = 0x0002;
constexpr TW_UINT32 TWMF_DSOWNS = 0x0004;
constexpr TW_UINT32 TWMF_POINTER = 0x0008;
constexpr TW_UINT32 TWMF_HANDLE = 0x0010;

// ---------------------------------------------------------------------------------------------
// Item types

constexpr TW_UINT16 TWTY_INT8 = 0x0000;
constexpr TW_UINT16 TWTY_INT16 = 0x0001;
constexpr TW_UINT16 TWTY_INT32 = 0x0002;
constexpr TW_UINT16 TWTY_UINT8 = 0x0003;
constexpr TW_UINT16 TWTY_UINT16 = 0x0004;
constexpr TW_UINT16 TWTY_UINT32 = 0x0005;
constexpr TW_UINT16 TWTY_BOOL = 0x0006;
constexpr TW_UINT16 TWTY_FIX32 = 0x0007;
constexpr TW_UINT16 TWTY_FRAME = 0x0008;
constexpr TW_UINT16 TWTY_STR32 = 0x0009;
constexpr TW_UINT16 TWTY_STR64 = 0x000a;
constexpr TW_UINT16 TWTY_STR128 = 0x000b;
constexpr TW_UINT16 TWTY_STR255 = 0x000c;

// ---------------------------------------------------------------------------------------------
// Capability values

// ICAP_BITORDER
constexpr TW_UINT16 TWBO_LSBFIRST = 0;
constexpr TW_UINT16 TWBO_MSBFIRST = 1;

// ICAP_COMPRESSION
constexpr TW_UINT16 TWCP_NONE = 0;
constexpr TW_UINT16 TWCP_PACKBITS = 1;
constexpr TW_UINT16 TWCP_GROUP31D = 2;
constexpr TW_UINT16 TWCP_GROUP31DEOL = 3;
constexpr TW_UINT16 TWCP_GROUP32D = 4;
constexpr TW_UINT16 TWCP_GROUP4 = 5;
constexpr TW_UINT16 TWCP_JPEG = 6;
constexpr TW_UINT16 TWCP_LZW = 7;
constexpr TW_UINT16 TWCP_JBIG = 8;
constexpr TW_UINT16 TWCP_PNG = 9;
constexpr TW_UINT16 TWCP_RLE4 = 10;
constexpr TW_UINT16 TWCP_RLE8 = 11;
constexpr TW_UINT16 TWCP_BITFIELDS = 12;

// ICAP_IMAGEFILEFORMAT
constexpr TW_UINT16 TWFF_TIFF = 0;
constexpr TW_UINT16 TWFF_PICT = 1;
constexpr TW_UINT16 TWFF_BMP = 2;
constexpr TW_UINT16 TWFF_XBM = 3;
constexpr TW_UINT16 TWFF_JFIF = 4;
constexpr TW_UINT16 TWFF_FPX = 5;
constexpr TW_UINT16 TWFF_TIFFMULTI = 6;
constexpr TW_UINT16 TWFF_PNG = 7;
constexpr TW_UINT16 TWFF_SPIFF = 8;
constexpr TW_UINT16 TWFF_EXIF = 9;

// ICAP_ORIENTATION
constexpr TW_UINT16 TWOR_ROT0 = 0;
constexpr TW_UINT16 TWOR_ROT90 = 1;
constexpr TW_UINT16 TWOR_ROT180 = 2;
constexpr TW_UINT16 TWOR_ROT270 = 3;
constexpr TW_UINT16 TWOR_PORTRAIT = TWOR_ROT0;
constexpr TW_UINT16 TWOR_LANDSCAPE = TWOR_ROT270;

// ICAP_PLANARCHUNKY
constexpr TW_UINT16 TWPC_CHUNKY = 0;
constexpr TW_UINT16 TWPC_PLANAR = 1;

// ICAP_PIXELFLAVOR
constexpr TW_UINT16 TWPF_CHOCOLATE = 0;
constexpr TW_UINT16 TWPF_VANILLA = 1;

// ICAP_PIXELTYPE
constexpr TW_UINT16 TWPT_BW = 0;
constexpr TW_UINT16 TWPT_GRAY = 1;
constexpr TW_UINT16 TWPT_RGB = 2;
constexpr TW_UINT16 TWPT_PALETTE = 3;
constexpr TW_UINT16 TWPT_CMY = 4;
constexpr TW_UINT16 TWPT_CMYK = 5;
constexpr TW_UINT16 TWPT_YUV = 6;
constexpr TW_UINT16 TWPT_YUVK = 7;
constexpr TW_UINT16 TWPT_CIEXYZ = 8;

// ICAP_UNITS
constexpr TW_UINT16 TWUN_INCHES = 0;
constexpr TW_UINT16 TWUN_CENTIMETERS = 1;
constexpr TW_UINT16 TWUN_PICAS = 2;
constexpr TW_UINT16 TWUN_POINTS = 3;
constexpr TW_UINT16 TWUN_TWIPS = 4;
constexpr TW_UINT16 TWUN_PIXELS = 5;

// ICAP_XFERMECH
constexpr TW_UINT16 TWSX_NATIVE = 0;
constexpr TW_UINT16 TWSX_FILE = 1;
constexpr TW_UINT16 TWSX_MEMORY = 2;

// CAP_DUPLEX
constexpr TW_UINT16 TWDX_NONE = 0;
constexpr TW_UINT16 TWDX_1PASSDUPLEX = 1;
constexpr TW_UINT16 TWDX_2PASSDUPLEX = 2;

// File types of TW_FILESYSTEM
constexpr TW_INT32 TWFY_CAMERA = 0;
constexpr TW_INT32 TWFY_CAMERATOP = 1;
constexpr TW_INT32 TWFY_CAMERABOTTOM = 2;
constexpr TW_INT32 TWFY_CAMERAPREVIEW = 3;
constexpr TW_INT32 TWFY_DOMAIN = 4;
constexpr TW_INT32 TWFY_HOST = 5;
constexpr TW_INT32 TWFY_DIRECTORY = 6;
constexpr TW_INT32 TWFY_IMAGE = 7;
constexpr TW_INT32 TWFY_UNKNOWN = 8;

// MSG_QUERYSUPPORT answers
constexpr TW_INT32 TWQC_GET = 0x0001;
constexpr TW_INT32 TWQC_SET = 0x0002;
constexpr TW_INT32 TWQC_GETDEFAULT = 0x0004;
constexpr TW_INT32 TWQC_GETCURRENT = 0x0008;
constexpr TW_INT32 TWQC_RESET = 0x0010;

// Countries and languages of TW_VERSION (only those the system names)
constexpr TW_UINT16 TWCY_USA = 1;

constexpr TW_UINT16 TWLG_DAN = 0;
constexpr TW_UINT16 TWLG_DUT = 1;
constexpr TW_UINT16 TWLG_ENG = 2;
constexpr TW_UINT16 TWLG_FCF = 3;
constexpr TW_UINT16 TWLG_FIN = 4;
constexpr TW_UINT16 TWLG_FRN = 5;
constexpr TW_UINT16 TWLG_GER = 6;
constexpr TW_UINT16 TWLG_ICE = 7;
constexpr TW_UINT16 TWLG_ITN = 8;
constexpr TW_UINT16 TWLG_NOR = 9;
constexpr TW_UINT16 TWLG_POR = 10;
constexpr TW_UINT16 TWLG_SPA = 11;
constexpr TW_UINT16 TWLG_SWE = 12;
constexpr TW_UINT16 TWLG_USA = 13;
constexpr TW_UINT16 TWLG_DUTCH = TWLG_DUT;
constexpr TW_UINT16 TWLG_ENGLISH = TWLG_ENG;
constexpr TW_UINT16 TWLG_FRENCH = TWLG_FRN;
constexpr TW_UINT16 TWLG_GERMAN = TWLG_GER;
constexpr TW_UINT16 TWLG_ITALIAN = TWLG_ITN;
constexpr TW_UINT16 TWLG_PORTUGUESE = TWLG_POR;
constexpr TW_UINT16 TWLG_SPANISH = TWLG_SPA;
constexpr TW_UINT16 TWLG_CHINESE_SIMPLIFIED = 41;
constexpr TW_UINT16 TWLG_CHINESE_TRADITIONAL = 43;
constexpr TW_UINT16 TWLG_JAPANESE = 68;
constexpr TW_UINT16 TWLG_KOREAN = 69;

// ---------------------------------------------------------------------------------------------
// Data groups

constexpr TW_UINT32 DG_CONTROL = 0x0001;
constexpr TW_UINT32 DG_IMAGE = 0x0002;
constexpr TW_UINT32 DG_AUDIO = 0x0004;

// ---------------------------------------------------------------------------------------------
// Data argument types

constexpr TW_UINT16 DAT_NULL = 0x0000;
constexpr TW_UINT16 DAT_CUSTOMBASE = 0x8000;

constexpr TW_UINT16 DAT_CAPABILITY = 0x0001;
constexpr TW_UINT16 DAT_EVENT = 0x0002;
constexpr TW_UINT16 DAT_IDENTITY = 0x0003;
constexpr TW_UINT16 DAT_PARENT = 0x0004;
constexpr TW_UINT16 DAT_PENDINGXFERS = 0x0005;
constexpr TW_UINT16 DAT_SETUPMEMXFER = 0x0006;
constexpr TW_UINT16 DAT_SETUPFILEXFER = 0x0007;
constexpr TW_UINT16 DAT_STATUS = 0x0008;
constexpr TW_UINT16 DAT_USERINTERFACE = 0x0009;
constexpr TW_UINT16 DAT_XFERGROUP = 0x000a;
constexpr TW_UINT16 DAT_TWUNKIDENTITY = 0x000b;
constexpr TW_UINT16 DAT_CUSTOMDSDATA = 0x000c;
constexpr TW_UINT16 DAT_DEVICEEVENT = 0x000d;
constexpr TW_UINT16 DAT_FILESYSTEM = 0x000e;
constexpr TW_UINT16 DAT_PASSTHRU = 0x000f;

constexpr TW_UINT16 DAT_IMAGEINFO = 0x0101;
constexpr TW_UINT16 DAT_IMAGELAYOUT = 0x0102;
constexpr TW_UINT16 DAT_IMAGEMEMXFER = 0x0103;
constexpr TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;
constexpr TW_UINT16 DAT_IMAGEFILEXFER = 0x0105;
constexpr TW_UINT16 DAT_CIECOLOR = 0x0106;
constexpr TW_UINT16 DAT_GRAYRESPONSE = 0x0107;
constexpr TW_UINT16 DAT_RGBRESPONSE = 0x0108;
constexpr TW_UINT16 DAT_JPEGCOMPRESSION = 0x0109;
constexpr TW_UINT16 DAT_PALETTE8 = 0x010a;
constexpr TW_UINT16 DAT_EXTIMAGEINFO = 0x010b;

constexpr TW_UINT16 DAT_AUDIOFILEXFER = 0x0201;
constexpr TW_UINT16 DAT_AUDIOINFO = 0x0202;
constexpr TW_UINT16 DAT_AUDIONATIVEXFER = 0x0203;

// ---------------------------------------------------------------------------------------------
// Messages

constexpr TW_UINT16 MSG_NULL = 0x0000;
constexpr TW_UINT16 MSG_CUSTOMBASE = 0x8000;

constexpr TW_UINT16 MSG_GET = 0x0001;
constexpr TW_UINT16 MSG_GETCURRENT = 0x0002;
constexpr TW_UINT16 MSG_GETDEFAULT = 0x0003;
constexpr TW_UINT16 MSG_GETFIRST = 0x0004;
constexpr TW_UINT16 MSG_GETNEXT = 0x0005;
constexpr TW_UINT16 MSG_SET = 0x0006;
constexpr TW_UINT16 MSG_RESET = 0x0007;
constexpr TW_UINT16 MSG_QUERYSUPPORT = 0x0008;

constexpr TW_UINT16 MSG_XFERREADY = 0x0101;
constexpr TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
constexpr TW_UINT16 MSG_CLOSEDSOK = 0x0103;
constexpr TW_UINT16 MSG_DEVICEEVENT = 0x0104;

constexpr TW_UINT16 MSG_CHECKSTATUS = 0x0201;

constexpr TW_UINT16 MSG_OPENDSM = 0x0301;
constexpr TW_UINT16 MSG_CLOSEDSM = 0x0302;

constexpr TW_UINT16 MSG_OPENDS = 0x0401;
constexpr TW_UINT16 MSG_CLOSEDS = 0x0402;
constexpr TW_UINT16 MSG_USERSELECT = 0x0403;

constexpr TW_UINT16 MSG_DISABLEDS = 0x0501;
constexpr TW_UINT16 MSG_ENABLEDS = 0x0502;
constexpr TW_UINT16 MSG_ENABLEDSUIONLY = 0x0503;

constexpr TW_UINT16 MSG_PROCESSEVENT = 0x0601;

constexpr TW_UINT16 MSG_ENDXFER = 0x0701;

constexpr TW_UINT16 MSG_CHANGEDIRECTORY = 0x0801;
constexpr TW_UINT16 MSG_CREATEDIRECTORY = 0x0802;
constexpr TW_UINT16 MSG_DELETE = 0x0803;
constexpr TW_UINT16 MSG_FORMATMEDIA = 0x0804;
constexpr TW_UINT16 MSG_GETCLOSE = 0x0805;
constexpr TW_UINT16 MSG_GETFIRSTFILE = 0x0806;
constexpr TW_UINT16 MSG_GETINFO = 0x0807;
constexpr TW_UINT16 MSG_GETNEXTFILE = 0x0808;
constexpr TW_UINT16 MSG_RENAME = 0x0809;
constexpr TW_UINT16 MSG_COPY = 0x080a;

constexpr TW_UINT16 MSG_PASSTHRU = 0x0901;

// ---------------------------------------------------------------------------------------------
// Capabilities

constexpr TW_UINT16 CAP_CUSTOMBASE = 0x8000;

constexpr TW_UINT16 CAP_XFERCOUNT = 0x0001;
constexpr TW_UINT16 ICAP_COMPRESSION = 0x0100;
constexpr TW_UINT16 ICAP_PIXELTYPE = 0x0101;
constexpr TW_UINT16 ICAP_UNITS = 0x0102;
constexpr TW_UINT16 ICAP_XFERMECH = 0x0103;

constexpr TW_UINT16 CAP_AUTHOR = 0x1000;
constexpr TW_UINT16 CAP_CAPTION = 0x1001;
constexpr TW_UINT16 CAP_FEEDERENABLED = 0x1002;
constexpr TW_UINT16 CAP_FEEDERLOADED = 0x1003;
constexpr TW_UINT16 CAP_TIMEDATE = 0x1004;
constexpr TW_UINT16 CAP_SUPPORTEDCAPS = 0x1005;
constexpr TW_UINT16 CAP_EXTENDEDCAPS = 0x1006;
constexpr TW_UINT16 CAP_AUTOFEED = 0x1007;
constexpr TW_UINT16 CAP_CLEARPAGE = 0x1008;
constexpr TW_UINT16 CAP_FEEDPAGE = 0x1009;
constexpr TW_UINT16 CAP_REWINDPAGE = 0x100a;
constexpr TW_UINT16 CAP_INDICATORS = 0x100b;
constexpr TW_UINT16 CAP_SUPPORTEDCAPSEXT = 0x100c;
constexpr TW_UINT16 CAP_PAPERDETECTABLE = 0x100d;
constexpr TW_UINT16 CAP_UICONTROLLABLE = 0x100e;
constexpr TW_UINT16 CAP_DEVICEONLINE = 0x100f;
constexpr TW_UINT16 CAP_AUTOSCAN = 0x1010;
constexpr TW_UINT16 CAP_THUMBNAILSENABLED = 0x1011;
constexpr TW_UINT16 CAP_DUPLEX = 0x1012;
constexpr TW_UINT16 CAP_DUPLEXENABLED = 0x1013;
constexpr TW_UINT16 CAP_ENABLEDSUIONLY = 0x1014;
constexpr TW_UINT16 CAP_CUSTOMDSDATA = 0x1015;

constexpr TW_UINT16 ICAP_AUTOBRIGHT = 0x1100;
constexpr TW_UINT16 ICAP_BRIGHTNESS = 0x1101;
constexpr TW_UINT16 ICAP_CONTRAST = 0x1103;
constexpr TW_UINT16 ICAP_CUSTHALFTONE = 0x1104;
constexpr TW_UINT16 ICAP_EXPOSURETIME = 0x1105;
constexpr TW_UINT16 ICAP_FILTER = 0x1106;
constexpr TW_UINT16 ICAP_FLASHUSED = 0x1107;
constexpr TW_UINT16 ICAP_GAMMA = 0x1108;
constexpr TW_UINT16 ICAP_HALFTONES = 0x1109;
constexpr TW_UINT16 ICAP_HIGHLIGHT = 0x110a;
constexpr TW_UINT16 ICAP_IMAGEFILEFORMAT = 0x110c;
constexpr TW_UINT16 ICAP_LAMPSTATE = 0x110d;
constexpr TW_UINT16 ICAP_LIGHTSOURCE = 0x110e;
constexpr TW_UINT16 ICAP_ORIENTATION = 0x1110;
constexpr TW_UINT16 ICAP_PHYSICALWIDTH = 0x1111;
constexpr TW_UINT16 ICAP_PHYSICALHEIGHT = 0x1112;
constexpr TW_UINT16 ICAP_SHADOW = 0x1113;
constexpr TW_UINT16 ICAP_FRAMES = 0x1114;
constexpr TW_UINT16 ICAP_XNATIVERESOLUTION = 0x1116;
constexpr TW_UINT16 ICAP_YNATIVERESOLUTION = 0x1117;
constexpr TW_UINT16 ICAP_XRESOLUTION = 0x1118;
constexpr TW_UINT16 ICAP_YRESOLUTION = 0x1119;
constexpr TW_UINT16 ICAP_MAXFRAMES = 0x111a;
constexpr TW_UINT16 ICAP_TILES = 0x111b;
constexpr TW_UINT16 ICAP_BITORDER = 0x111c;
constexpr TW_UINT16 ICAP_CCITTKFACTOR = 0x111d;
constexpr TW_UINT16 ICAP_LIGHTPATH = 0x111e;
constexpr TW_UINT16 ICAP_PIXELFLAVOR = 0x111f;
constexpr TW_UINT16 ICAP_PLANARCHUNKY = 0x1120;
constexpr TW_UINT16 ICAP_ROTATION = 0x1121;
constexpr TW_UINT16 ICAP_SUPPORTEDSIZES = 0x1122;
constexpr TW_UINT16 ICAP_THRESHOLD = 0x1123;
constexpr TW_UINT16 ICAP_XSCALING = 0x1124;
constexpr TW_UINT16 ICAP_YSCALING = 0x1125;
constexpr TW_UINT16 ICAP_BITORDERCODES = 0x1126;
constexpr TW_UINT16 ICAP_PIXELFLAVORCODES = 0x1127;
constexpr TW_UINT16 ICAP_JPEGPIXELTYPE = 0x1128;
constexpr TW_UINT16 ICAP_TIMEFILL = 0x112a;
constexpr TW_UINT16 ICAP_BITDEPTH = 0x112b;
constexpr TW_UINT16 ICAP_BITDEPTHREDUCTION = 0x112c;
constexpr TW_UINT16 ICAP_UNDEFINEDIMAGESIZE = 0x112d;
constexpr TW_UINT16 ICAP_IMAGEDATASET = 0x112e;
constexpr TW_UINT16 ICAP_EXTIMAGEINFO = 0x112f;
constexpr TW_UINT16 ICAP_MINIMUMHEIGHT = 0x1130;
constexpr TW_UINT16 ICAP_MINIMUMWIDTH = 0x1131;
constexpr TW_UINT16 ICAP_AUTOMATICBORDERDETECTION = 0x1150;

// ---------------------------------------------------------------------------------------------
// Return codes

constexpr TW_UINT16 TWRC_SUCCESS = 0;
constexpr TW_UINT16 TWRC_FAILURE = 1;
constexpr TW_UINT16 TWRC_CHECKSTATUS = 2;
constexpr TW_UINT16 TWRC_CANCEL = 3;
constexpr TW_UINT16 TWRC_DSEVENT = 4;
constexpr TW_UINT16 TWRC_NOTDSEVENT = 5;
constexpr TW_UINT16 TWRC_XFERDONE = 6;
constexpr TW_UINT16 TWRC_ENDOFLIST = 7;
constexpr TW_UINT16 TWRC_INFONOTSUPPORTED = 8;
constexpr TW_UINT16 TWRC_DATANOTAVAILABLE = 9;

// ---------------------------------------------------------------------------------------------
// Condition codes

constexpr TW_UINT16 TWCC_SUCCESS = 0;
constexpr TW_UINT16 TWCC_BUMMER = 1;
constexpr TW_UINT16 TWCC_LOWMEMORY = 2;
constexpr TW_UINT16 TWCC_NODS = 3;
constexpr TW_UINT16 TWCC_MAXCONNECTIONS = 4;
constexpr TW_UINT16 TWCC_OPERATIONERROR = 5;
constexpr TW_UINT16 TWCC_BADCAP = 6;
constexpr TW_UINT16 TWCC_BADPROTOCOL = 9;
constexpr TW_UINT16 TWCC_BADVALUE = 10;
constexpr TW_UINT16 TWCC_SEQERROR = 11;
constexpr TW_UINT16 TWCC_BADDEST = 12;
constexpr TW_UINT16 TWCC_CAPUNSUPPORTED = 13;
constexpr TW_UINT16 TWCC_CAPBADOPERATION = 14;
constexpr TW_UINT16 TWCC_CAPSEQERROR = 15;
constexpr TW_UINT16 TWCC_DENIED = 16;
constexpr TW_UINT16 TWCC_FILEEXISTS = 17;
constexpr TW_UINT16 TWCC_FILENOTFOUND = 18;
constexpr TW_UINT16 TWCC_NOTEMPTY = 19;
constexpr TW_UINT16 TWCC_PAPERJAM = 20;
constexpr TW_UINT16 TWCC_PAPERDOUBLEFEED = 21;
constexpr TW_UINT16 TWCC_FILEWRITEERROR = 22;
constexpr TW_UINT16 TWCC_CHECKDEVICEONLINE = 23;
