/*
 * The image library ZYL_KPD: one "process" converts one page file into another (JPEG or TIFF),
 * optionally cropped and resampled, and reports the size and depth of both pictures.
 *
 * Calling convention: every call is __cdecl (KPD_CALL); exported names carry no decoration.
 * Results: 0 success, negative failure (KPD_ERR_*).
 *
 * A process: KPD_createProcessADT, KPD_setFileNameIn, optionally KPD_setCrop and
 * KPD_setResample, KPD_setFileNameOut, KPD_doProcess, the two KPD_getImageInfo calls,
 * KPD_destroyProcessADT. The output file holds the processed page once KPD_doProcess answers
 * 0; after a failure it may be missing, empty or partly written.
 *
 * Coordinates and sizes are in pixels, rows first: the library says length (rows, the vertical
 * size) before width (columns), top before left.
 *
 * Formats: KPD_FORMAT_JPEG and KPD_FORMAT_TIFF (one page of a TIFF file: CCITT G4 bilevel, LZW
 * or uncompressed pages, and whatever else the platform's TIFF codec reads). An input of another
 * format, or one that is not the format named, fails with KPD_ERR_FORMAT. Bilevel pictures stay
 * 1 bit deep in TIFF and become 8-bit grey in JPEG; grey pictures stay 8-bit, colour pictures
 * 24-bit. TIFF output is little-endian, one strip a page.
 */
#ifndef ZYL_KPD_API_H
#define ZYL_KPD_API_H

#include <stdint.h>

#define KPD_CALL __cdecl

#ifdef __cplusplus
extern "C" {
#endif

enum KpdResult {
    KPD_OK = 0,
    KPD_ERR_HANDLE = -1,   /* null or unknown process */
    KPD_ERR_PARAM = -2,    /* an argument out of range, or a crop that leaves the picture */
    KPD_ERR_STATE = -3,    /* a call out of order: no input or output named, nothing processed */
    KPD_ERR_OPEN = -4,     /* the input file cannot be read */
    KPD_ERR_FORMAT = -5,   /* the input is not a page of the format named */
    KPD_ERR_DECODE = -6,   /* the input's pixels cannot be decoded */
    KPD_ERR_ENCODE = -7,   /* the output cannot be encoded */
    KPD_ERR_WRITE = -8,    /* the output file cannot be written */
    KPD_ERR_PAGE = -9,     /* the input has no such page */
    KPD_ERR_SYSTEM = -10   /* the platform's imaging component is missing or out of memory */
};

/* Format codes. KPD_FORMAT_BY_NAME (output only) takes the format from the file name's
 * extension: ".jpg"/".jpeg" JPEG, ".tif"/".tiff" TIFF (any letter case). */
enum KpdFormat { KPD_FORMAT_BY_NAME = 0, KPD_FORMAT_JPEG = 1, KPD_FORMAT_TIFF = 2 };

/* KPD_setFileNameOut options: KPD_OUT_COMPRESSED writes TIFF pages with CCITT G4 (bilevel) or
 * LZW (grey, colour); without it TIFF pages are uncompressed. JPEG is always compressed. */
#define KPD_OUT_COMPRESSED 1

/* KPD_setResample modes. */
#define KPD_RESAMPLE_NEAREST 0
#define KPD_RESAMPLE_SMOOTH 1 /* each pixel the mean of the area it covers */

typedef struct KpdProcess* KPD_HANDLE;

/* Null when no process can be made. */
KPD_HANDLE KPD_CALL KPD_createProcessADT(void);

/* path: the input page file; format: KPD_FORMAT_JPEG or KPD_FORMAT_TIFF; page: 1 for the first
 * page of the file. The reserved words are passed as 0 and not looked at. */
int KPD_CALL KPD_setFileNameIn(KPD_HANDLE process, const char* path, int32_t format,
                               int32_t reserved1, int32_t reserved2, int32_t reserved3,
                               int32_t page, int32_t reserved4, int32_t reserved5);

/* Keeps the rows top..bottom-1 and the columns left..right-1 of the input; the rectangle must
 * lie inside the input picture (checked by KPD_doProcess). Applied before a resample. */
int KPD_CALL KPD_setCrop(KPD_HANDLE process, int32_t top, int32_t left, int32_t bottom,
                         int32_t right);

/* Resizes the (cropped) picture to length x width pixels (1..32767 each); the resolution
 * follows, so the page keeps its physical size. */
int KPD_CALL KPD_setResample(KPD_HANDLE process, int32_t length, int32_t width, int32_t mode);

/* path: the output file, replaced when it exists; format: a KpdFormat; options: 0 or
 * KPD_OUT_COMPRESSED. */
int KPD_CALL KPD_setFileNameOut(KPD_HANDLE process, const char* path, int32_t format,
                                int32_t options);

/* Reads the input, crops, resamples, writes the output. */
int KPD_CALL KPD_doProcess(KPD_HANDLE process);

/* After a successful KPD_doProcess: length (rows), width (columns) and bits per pixel (1, 8 or
 * 24) of the input page and of the output page. Before it, or after a failed one, the values
 * are 0 and the answer is KPD_ERR_STATE. Null out pointers are skipped; the reserved words are
 * passed as 0. */
int KPD_CALL KPD_getImageInfoIn(KPD_HANDLE process, int32_t* length, int32_t* width,
                                int32_t* bitsPerPixel, int32_t reserved1, int32_t reserved2);
int KPD_CALL KPD_getImageInfoOut(KPD_HANDLE process, int32_t* length, int32_t* width,
                                 int32_t* bitsPerPixel, int32_t reserved1, int32_t reserved2);

/* Ends the process and sets the caller's handle to null; a null handle is ignored. */
int KPD_CALL KPD_destroyProcessADT(KPD_HANDLE* process);

#ifdef __cplusplus
}
#endif

#endif /* ZYL_KPD_API_H */
