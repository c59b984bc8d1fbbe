/* The contract between the program and an image filter plug-in (a shared library).
 * A plug-in exports, with C linkage, GetFilterCaps and SetFilterTools. Every field of the records
 * is one pointer wide, in this order; the records belong to the plug-in and are never copied. */
#ifndef QUIB_IMAGEFILTERS_FILTER_ABI_H
#define QUIB_IMAGEFILTERS_FILTER_ABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A picture: width x height pixels of blue, green, red, alpha, top row first, no row padding.
 * For reading, the program allocates the pixels after the information call and the plug-in fills
 * them; for writing, the program fills them. */
typedef struct ImageDesc {
    int32_t width;
    int32_t height;
    void* pixels;
} ImageDesc;

/* Handed to every plug-in once; lives as long as the program. */
typedef struct FilterTools {
    void* (*allocate)(size_t size); /* malloc */
    void (*release)(void* block);   /* free */
    uintptr_t mainWindow;           /* 0 when there is no main window */
} FilterTools;

typedef void* FilterHandle;

/* Capability bit 0: the type can be read (in readCaps) or written (in writeCaps). */
#define QUIB_FILTER_CAP_BASIC 1u

/* One image type. Every unused argument is passed as 0. */
typedef struct FilterCaps {
    /* Extensions without dot separated by ';', the first the preferred one, e.g. "jpg;jpeg". */
    const char* extensions;
    /* Display text, '|', file pattern(s) separated by ';', e.g. "JPEG (*.jpg)|*.jpg;*.jpeg". */
    const char* description;
    uintptr_t readCaps;
    uintptr_t writeCaps;
    /* The caller sets *status to 1 first; success is a non-zero handle with *status still 1. */
    FilterHandle (*openRead)(const char* path, int* status);
    /* Fills desc->pixels (desc->width x desc->height); 1 on success. */
    int (*read)(FilterHandle handle, ImageDesc* desc, intptr_t unused1, intptr_t unused2);
    void* unused6;
    void (*closeRead)(FilterHandle handle);
    /* Fills desc->width and desc->height; 1 on success. */
    int (*getInfo)(const char* path, ImageDesc* desc, intptr_t unused1, intptr_t unused2);
    FilterHandle (*openWrite)(const char* path, intptr_t unused1, intptr_t unused2, intptr_t unused3,
                              intptr_t unused4, ImageDesc* desc, intptr_t unused5, intptr_t unused6);
    int (*write)(FilterHandle handle, ImageDesc* desc, intptr_t unused1, intptr_t unused2);
    void (*closeWrite)(FilterHandle handle);
    void* unused12;
    void* unused13;
    void* unused14;
    void* unused15;
    void* unused16;
} FilterCaps;

/* The two exports. GetFilterCaps stores the address of the plug-in's array of records and returns
 * how many there are; the result of SetFilterTools is not used. */
typedef int (*GetFilterCapsFn)(FilterCaps** caps);
typedef int (*SetFilterToolsFn)(FilterTools* tools);

#define QUIB_GET_FILTER_CAPS_NAME "GetFilterCaps"
#define QUIB_SET_FILTER_TOOLS_NAME "SetFilterTools"

#ifdef __cplusplus
}
static_assert(sizeof(FilterCaps) == 17 * sizeof(void*), "FilterCaps is 17 pointer-sized fields");
#endif

#endif
