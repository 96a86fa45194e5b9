/*
 * Vivo - the KZ toolchain plug-in: the 33 exports the host calls.
 *
 * Every export returns int32_t: 0 for success, 1 for failure (ConvertPhaseOptions also -1, -2, -3).
 * No exception, signal or abort ever leaves an export.
 *
 * Caller buffers. A text result leaves the plug-in through a host-owned buffer `buffer` and a
 * signed 32-bit length `len`. On entry *len holds the capacity in bytes; on return it holds the
 * length the protocol of the export says, also when the buffer was too small (then nothing is
 * written into the buffer and the call returns 1, so the host can call again with a larger one).
 * With T the result text and L its length:
 *   newline list                  *len = L;     needs capacity >= L;     writes T, every "\n" as NUL
 *   newline text with terminator  *len = L;     needs capacity >= L + 1; writes T, every "\n" as NUL, then NUL
 *   terminated text               *len = L + 1; needs capacity >= L + 1; writes T and NUL
 *   raw text                      *len = L;     needs capacity >= L;     writes T, no terminator
 * The plug-in never allocates memory that the host must free.
 *
 * NUL-separated lists: strings, each ended by NUL, then one more NUL; an empty list is one NUL.
 *
 * Each export below names its protocol and the ways it fails. Unless it says otherwise, every pointer
 * argument is checked: a null one gives 1 with nothing written (arguments named `ignored` are neither
 * checked nor read; `reserved` ones are checked but not read).
 */
#ifndef VIVO_VIVO_H
#define VIVO_VIVO_H

#include <stdint.h>

#ifndef VIVO_CALL
#  if defined(_WIN32) && !defined(_WIN64)
#    define VIVO_CALL __cdecl
#  else
#    define VIVO_CALL
#  endif
#endif

#ifndef VIVO_API
#  if defined(_WIN32)
#    define VIVO_API
#  else
#    define VIVO_API __attribute__((visibility("default")))
#  endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The host's description of a toolchain; `size` must hold 12 (the 32-bit host's record size). */
typedef struct VivoToolchainRecord {
    uint32_t    size;
    const char *name;
    const char *version;
} VivoToolchainRecord;

/* One memory area of the linker's section placement (UpdateLinkerSections). */
typedef struct VivoMemoryArea {
    uint32_t           reserved;       /* not read */
    const char        *addressList;    /* NUL-separated list; first string "0x..." */
    const char *const *sectionGroups;  /* NULL-ended array of NUL-separated name lists */
} VivoMemoryArea;

/* Identity */
/* The plug-in interface version the plug-in speaks. */
VIVO_API int32_t VIVO_CALL GetDLLInterfaceVersion(uint32_t *major /* out */, uint32_t *minor /* out */);
/* Newline list: the product version ("4.09.00"). */
VIVO_API int32_t VIVO_CALL GetDLLProductVersion(char *buffer /* out */, int32_t *len /* in/out */);
/* The ordinal version number. */
VIVO_API int32_t VIVO_CALL GetDLLOrdinalVersion(uint32_t *ordinal /* out */);
/* Newline list: the plug-in type. */
VIVO_API int32_t VIVO_CALL GetDLLType(char *buffer /* out */, int32_t *len /* in/out */);
/* NUL-separated list of TC.ini's project templates ("name|kind|description"); *len = its size,
   final NUL included; needs capacity >= *len. */
VIVO_API int32_t VIVO_CALL GetTemplates(char *buffer /* out */, int32_t *len /* in/out */);
/* Newline list: the toolchain's file types ("name|extensions|..."). */
VIVO_API int32_t VIVO_CALL GetSupportedFileExtensions(char *buffer /* out */, int32_t *len /* in/out */);
/* *answer = 0: no tool of this toolchain runs from the command line. */
VIVO_API int32_t VIVO_CALL IsCommandLineExecutionSupported(const char *toolName /* in */, uint32_t *answer /* out */);

/* Toolchain change */
/* 0 when TC.ini defines a change from `from` to `to`; otherwise 1 and message 2008 joins the change
   summary (records checked by the worker: null, a size other than 12 or a null text fail). A TC.ini
   that cannot be read shows the reading-error box. */
VIVO_API int32_t VIVO_CALL CanUpgradeToolchain(const VivoToolchainRecord *from /* in */,
                                               const VivoToolchainRecord *to /* in */);
/* Newline list: the phase order after the change, which this call looks up and remembers for the
   calls below. A change TC.ini does not define: 1, message 2008, nothing written. */
VIVO_API int32_t VIVO_CALL UpgradePhaseOrder(const VivoToolchainRecord *from /* in */,
                                             const VivoToolchainRecord *to /* in */,
                                             const char *phaseOrderList /* in */, char *buffer /* out */,
                                             int32_t *len /* in/out */);
/* The old phases that supply `phaseName`: a newline list, or `phaseName` itself as terminated text
   where the phase keeps its own settings. 1 for a malformed state list. */
VIVO_API int32_t VIVO_CALL UpgradePhases(const void *reserved1, const void *reserved2,
                                         const char *stateList /* in */, const char *phaseList /* in */,
                                         const char *phaseName /* in */, char *buffer /* out */,
                                         int32_t *len /* in/out */);
/* Terminated text: the option string of `phaseName` after the change. 1 when an option line has
   no bar or the conversion fails. */
VIVO_API int32_t VIVO_CALL UpgradePhaseOptions(const VivoToolchainRecord *from /* in */,
                                               const VivoToolchainRecord *to /* in */,
                                               const char *phaseName /* in */, uint32_t ignored,
                                               const char *optionList /* in */, char *buffer /* out */,
                                               int32_t *len /* in/out */);
/* The phase mappings after the change: the KZ mappings as a newline list for a change from another
   family; otherwise the input list echoed as raw text of its size (final NUL included). */
VIVO_API int32_t VIVO_CALL UpgradePhaseMappings(const void *reserved, uint32_t ignored,
                                                const char *mappingList /* in */, char *buffer /* out */,
                                                int32_t *len /* in/out */);
/* Terminated text: the assembler options carried over from the compiler's. Fails with *len = 0 and
   -1 (not this toolchain), -2 (the compiler does not output assembly source), -3 (no conversion
   between the two tools) or 1 (unreadable options); 1 with *len unchanged when a table is missing. */
VIVO_API int32_t VIVO_CALL ConvertPhaseOptions(const VivoToolchainRecord *toolchain /* in */,
                                               const char *sourceTool /* in */, const char *targetTool /* in */,
                                               const char *sourceOptions /* in */, char *buffer /* out */,
                                               int32_t *len /* in/out */);
/* 0: options of different phases are never in conflict for this toolchain. */
VIVO_API int32_t VIVO_CALL CheckOptionConsistency(const void *p1, const void *p2, const void *p3,
                                                  const void *p4, const void *p5, const void *p6,
                                                  const void *p7, const void *p8);

/* Change summary */
/* Empties the summary's fixed messages; its lines stay. */
VIVO_API int32_t VIVO_CALL ResetSummaryInformation(void);
/* Shows the report dialog and, confirmed with its check box ticked, writes Upgrade.txt into
   `projectDirectory`; then empties the summary's lines. No pointer is checked: null reads as "".
   Always 0. */
VIVO_API int32_t VIVO_CALL DisplaySummaryInformation(const char *projectName /* in */,
                                                     const char *projectDirectory /* in */);

/* Build option queries */
/* Newline list of the include directories, quotes removed. 1 for a tool that is neither a compiler
   nor an assembler (the same for the three below). */
VIVO_API int32_t VIVO_CALL GetIncludeFileDirectories(const char *toolName /* in */, const char *options /* in */,
                                                     char *buffer /* out */, int32_t *len /* in/out */);
/* Terminated text: `options` with its include item replaced by the directories of the list (an empty
   list removes it). */
VIVO_API int32_t VIVO_CALL SetIncludeFileDirectories(const char *toolName /* in */, const char *options /* in */,
                                                     const char *directoryList /* in */, char *buffer /* out */,
                                                     int32_t *len /* in/out */);
/* Newline list of the defines. */
VIVO_API int32_t VIVO_CALL GetDefines(const char *toolName /* in */, const char *options /* in */,
                                      char *buffer /* out */, int32_t *len /* in/out */);
/* Terminated text: `options` with its define item replaced by the list's (an empty list removes it). */
VIVO_API int32_t VIVO_CALL SetDefines(const char *toolName /* in */, const char *options /* in */,
                                      const char *defineList /* in */, char *buffer /* out */,
                                      int32_t *len /* in/out */);
/* Newline text with terminator: the map file's path, "" when no map file is written. */
VIVO_API int32_t VIVO_CALL GetLinkerMapFile(uint32_t ignored, const char *options /* in */,
                                            char *buffer /* out */, int32_t *len /* in/out */);
/* *flags = 15, *second = 1 for a toolchain of this plug-in's kind; 1 for any other. */
VIVO_API int32_t VIVO_CALL GetLinkerInformation(const VivoToolchainRecord *toolchain /* in */,
                                                uint32_t *flags /* out */, uint32_t *second /* out */);
/* *answer = 1 when the options hold [B|SUBCOMMAND|1], else 0. */
VIVO_API int32_t VIVO_CALL IsLinkedByCommandFile(const void *reserved, const char *options /* in */,
                                                 uint32_t *answer /* out */);
/* *answer = 1 when the options hold a dependency scan item, else 0. */
VIVO_API int32_t VIVO_CALL IsPreprocessorScanEnabled(const void *reserved, const char *options /* in */,
                                                     uint32_t *answer /* out */);
/* Raw text, no terminator: "Library=" and the library names separated by commas, "" without any. */
VIVO_API int32_t VIVO_CALL GetLibraryFiles(const char *options /* in */, char *buffer /* out */,
                                           int32_t *len /* in/out */);
/* Terminated text: `options` with the libraries of `libraryText` ("Library=a.lib,b.lib"); a text
   without names removes the item. */
VIVO_API int32_t VIVO_CALL SetLibraryFiles(const char *options /* in */, const char *libraryText /* in */,
                                           char *buffer /* out */, int32_t *len /* in/out */);

/* Linker memory layout */
/* *count = the number of memory areas of the linker's start item. */
VIVO_API int32_t VIVO_CALL GetNoOfMemoryAreas(uint32_t ignored, const char *options /* in */,
                                              uint32_t *count /* out */);
/* Newline list: the start address of area `areaNumber` (from 1) and a bar. A number without an
   area: 0 with nothing written, *len untouched. */
VIVO_API int32_t VIVO_CALL GetAddressRanges(uint32_t ignored, const char *options /* in */, int32_t areaNumber,
                                            char *buffer /* out */, int32_t *len /* in/out */);
/* Newline list: the section groups of area `areaNumber` (from 1); the empty list for a number
   without an area; 1 for an area without an address. */
VIVO_API int32_t VIVO_CALL GetSections(const void *reserved, const char *options /* in */, int32_t areaNumber,
                                       char *buffer /* out */, int32_t *len /* in/out */);
/* Terminated text: `options` with a start item of the NULL-ended area array. 1 for an area with too
   short an address or an empty group; a null address list or group array counts as empty. */
VIVO_API int32_t VIVO_CALL UpdateLinkerSections(const void *reserved, const char *options /* in */,
                                                const VivoMemoryArea *const *areas /* in */,
                                                char *buffer /* out */, int32_t *len /* in/out */);

/* Editor and build output */
/* Terminated text: the keyword lines of the file type `name`. A name no group lists is an answer, not
   a failure: *len = 0 and one NUL written, whatever the capacity. */
VIVO_API int32_t VIVO_CALL GetSyntaxColouringInformation(const char *name /* in */, char *buffer /* out */,
                                                         int32_t *len /* in/out */);
/* *version = the keyword data's version; 1 when no colouring file gives one. */
VIVO_API int32_t VIVO_CALL GetSyntaxColouringVersion(uint32_t *version /* out */);
/* Terminated text: a diagnostic as "file|line|code|message" ("None" for a missing position), "" for
   other lines; the five values are written only when the text fits. */
VIVO_API int32_t VIVO_CALL GetMakefileOutputLineInfo(const char *line /* in */, uint32_t *recognised /* out */,
                                                     uint32_t *errors /* out */, uint32_t *warnings /* out */,
                                                     uint32_t *fatalErrors /* out */, char *buffer /* out */,
                                                     int32_t *len /* in/out */, uint32_t *messageFlag /* out */);

#ifdef __cplusplus
}
#endif

#endif /* VIVO_VIVO_H */
