#pragma once

// The record a tag-reader plug-in's GetTagger returns. Plug-ins written by others depend on this exact
// layout: C linkage and calling convention, fields in this order, every text pointer, function pointer and
// handle pointer-sized, every other field a 32-bit integer, natural alignment. On a 32-bit build this is the
// 140-byte table the plug-in interface was first published with.

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef intptr_t TtaggerHandle;

typedef const char* (*TtaggerTextFunc)(const char* newValue);
typedef int32_t (*TtaggerIntFunc)(void);
// Empties both texts (their first byte becomes NUL) and stores an answer in the integer.
typedef void (*TtaggerReservedFuncB)(int32_t, char*, char*, int32_t*);
typedef void (*TtaggerProc)(void);
typedef const char* (*TtaggerTextQuery)(void);
typedef int32_t (*TtaggerConfigureFunc)(TtaggerHandle parentWindow);
typedef int32_t (*TtaggerInitialiseFunc)(TtaggerHandle hostHandle, TtaggerHandle pluginHandle);
typedef uint8_t (*TtaggerReadFileFunc)(const char* fileName);
typedef void (*TtaggerSettingsProc)(const char* iniFileName);
typedef void (*TtaggerGetExtProc)(int32_t index, char* buffer);

typedef struct TtaggerRecord
{
    const char* Name;
    const char* FileTypes;
    int32_t Version;
    uint32_t SupportLevel;
    TtaggerHandle PluginHandle;
    TtaggerHandle HostHandle;
    TtaggerTextFunc Artist;
    TtaggerTextFunc Title;
    TtaggerTextFunc Album;
    TtaggerTextFunc Comment;
    int32_t TrackNo;
    TtaggerTextFunc Date;
    int32_t GenreID;
    TtaggerTextFunc GenreString;
    TtaggerIntFunc ReservedFuncA;
    TtaggerReservedFuncB ReservedFuncB;
    TtaggerProc ReservedProcC;
    int32_t BitRate;
    int32_t Duration;
    int32_t SampleRate;
    int32_t Channels;
    TtaggerTextQuery Extension;
    TtaggerTextQuery TagType;
    int32_t MediaType;
    int32_t Reserved96;
    int32_t Reserved100;
    TtaggerConfigureFunc Configure;
    TtaggerInitialiseFunc Initialise;
    TtaggerReadFileFunc ReadFile;
    TtaggerIntFunc ReservedFuncD;
    TtaggerIntFunc ReservedFuncE;
    TtaggerSettingsProc LoadSettings;
    TtaggerSettingsProc SaveSettings;
    TtaggerIntFunc ExtCount;
    TtaggerGetExtProc GetExt;
} TtaggerRecord;

// The one export of a plug-in library.
typedef TtaggerRecord* (*TGetTaggerFunc)(void);

#define ORVANE_TAGGER_EXPORT_NAME "GetTagger"
#define ORVANE_TAGGER_BUFFER_SIZE 255

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(void*) != 4 || sizeof(TtaggerRecord) == 140,
              "plug-in record must be 140 bytes on 32-bit");
static_assert(offsetof(TtaggerRecord, Name) == 0);
static_assert(offsetof(TtaggerRecord, FileTypes) == sizeof(void*));
static_assert(offsetof(TtaggerRecord, Version) == 2 * sizeof(void*));
static_assert(offsetof(TtaggerRecord, SupportLevel) == 2 * sizeof(void*) + 4);
static_assert(offsetof(TtaggerRecord, PluginHandle) == 2 * sizeof(void*) + 8);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, Artist) == 40);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, TrackNo) == 72);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, Date) == 80);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, GenreID) == 88);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, GenreString) == 96);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, BitRate) == 128);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, Channels) == 140);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, Extension) == 144);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, MediaType) == 160);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, Configure) == 176);
static_assert(sizeof(void*) != 8 || offsetof(TtaggerRecord, GetExt) == 240);
static_assert(sizeof(void*) != 8 || sizeof(TtaggerRecord) == 248);
#endif
